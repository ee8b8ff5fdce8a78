#include "host/win/player_window.h"

#include <cstdio>
#include <string>

#include "host/win/vis_thread.h"

namespace {

const char* const ClassName = "vis_host player";
constexpr UINT_PTR StatusTimer = 1;

enum Command : WORD { CmdPlay = 1, CmdPause, CmdStop, CmdConfig, CmdDouble, CmdExit };

struct PlayerState {
    HostSession* session = nullptr;
    std::string fileName;
    bool doubleSize = false;
    bool inConfig = false;
    bool visEnded = false;
    bool destroyAfterConfig = false;
};

std::string Clock(int64_t frames, int rate) {
    const int64_t seconds = rate > 0 ? frames / rate : 0;
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", int(seconds / 60), int(seconds % 60));
    return text;
}

void Resize(HWND window, bool doubleSize) {
    const int scale = doubleSize ? 2 : 1;
    SetWindowPos(window, nullptr, 0, 0, PlayerWidth * scale, PlayerHeight * scale,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CALLBACK CancelDialog(HWND window, LPARAM player) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (window != reinterpret_cast<HWND>(player) && std::string(name) == "#32770")
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

// Closes the dialogs a module's Config left open on this thread.
void CancelDialogs(HWND player) {
    EnumThreadWindows(GetCurrentThreadId(), CancelDialog, reinterpret_cast<LPARAM>(player));
}

void RunConfig(HWND window, PlayerState& state) {
    winampVisModule* module = state.session->runningModule;
    if (!module || !module->Config || state.inConfig) return;
    state.inConfig = true;
    module->Config(module);
    state.inConfig = false;
    if (state.destroyAfterConfig) DestroyWindow(window);
}

void Paint(HWND window, PlayerState& state) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FrameRect(dc, &client, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));  // the window's edge on a dark desktop
    Transport& transport = *state.session->transport;
    const PlayState playState = transport.State();
    const std::string status = state.fileName + "\n" + Clock(transport.Position(), transport.Rate()) + " / " +
                               Clock(transport.TotalFrames(), transport.Rate()) + "   " + PlayStateName(playState) +
                               "\n\nX play  C pause  V stop  Left/Right seek\nCtrl+D double  Ctrl+K config";
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 224, 0));
    RECT text = {8, 8, client.right - 8, client.bottom - 8};
    DrawTextA(dc, status.c_str(), -1, &text, DT_LEFT | DT_TOP | DT_NOPREFIX | DT_END_ELLIPSIS);
    EndPaint(window, &paint);
}

void ShowMenu(HWND window, PlayerState& state, LPARAM where) {
    POINT at = {short(LOWORD(where)), short(HIWORD(where))};
    if (where == -1) GetCursorPos(&at);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, CmdPlay, "Play\tX");
    AppendMenuA(menu, MF_STRING, CmdPause, "Pause\tC");
    AppendMenuA(menu, MF_STRING, CmdStop, "Stop\tV");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | (state.session->runningModule ? 0 : MF_GRAYED), CmdConfig,
                "Configure module...\tCtrl+K");
    AppendMenuA(menu, MF_STRING | (state.doubleSize ? MF_CHECKED : 0), CmdDouble, "Double size\tCtrl+D");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, CmdExit, "Exit");
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
    DestroyMenu(menu);
}

void RunCommand(HWND window, PlayerState& state, WORD command) {
    Transport& transport = *state.session->transport;
    switch (command) {
    case CmdPlay: transport.Play(); break;
    case CmdPause: transport.Pause(); break;
    case CmdStop: transport.Stop(); break;
    case CmdConfig: RunConfig(window, state); break;
    case CmdDouble:
        state.doubleSize = !state.doubleSize;
        Resize(window, state.doubleSize);
        break;
    case CmdExit: PostMessageA(window, WM_CLOSE, 0, 0); break;
    }
    InvalidateRect(window, nullptr, FALSE);
}

// The player's keys; the plug-in forwards those pressed in its window.
void OnKey(HWND window, PlayerState& state, WPARAM key) {
    const bool control = (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
    switch (key) {
    case 'X': RunCommand(window, state, CmdPlay); break;
    case 'C': RunCommand(window, state, CmdPause); break;
    case 'V': RunCommand(window, state, CmdStop); break;
    case VK_LEFT: state.session->transport->Seek(-SeekStepMs); break;
    case VK_RIGHT: state.session->transport->Seek(SeekStepMs); break;
    case 'D':
        if (control) RunCommand(window, state, CmdDouble);
        break;
    case 'K':
        if (control) RunCommand(window, state, CmdConfig);
        break;
    }
    InvalidateRect(window, nullptr, FALSE);
}

LRESULT CALLBACK PlayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    }
    auto* state = reinterpret_cast<PlayerState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!state) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_USER:
        if (wParam == 0 && lParam == IsPlayingQuery) return IsPlayingAnswer(state->session->transport->State());
        return 0;
    case WM_NCHITTEST: {
        const LRESULT hit = DefWindowProcA(window, message, wParam, lParam);
        return hit == HTCLIENT ? HTCAPTION : hit;  // drag the window anywhere
    }
    case WM_CONTEXTMENU: ShowMenu(window, *state, lParam); return 0;
    case WM_COMMAND: RunCommand(window, *state, LOWORD(wParam)); return 0;
    case WM_KEYDOWN: OnKey(window, *state, wParam); return 0;
    case WM_TIMER: InvalidateRect(window, nullptr, FALSE); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(window, *state); return 0;
    case WM_HOST_VIS_STARTED:
        if (state->session->options->config) RunConfig(window, *state);
        return 0;
    case WM_HOST_VIS_ENDED:
        state->visEnded = true;
        CancelDialogs(window);
        if (state->inConfig) state->destroyAfterConfig = true;
        else DestroyWindow(window);
        return 0;
    case WM_CLOSE:
        // The module ends first, on its own thread; its end destroys this window.
        if (state->visEnded) DestroyWindow(window);
        else RequestVisStop(*state->session);
        return 0;
    case WM_DESTROY:
        KillTimer(window, StatusTimer);
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        delete state;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND CreatePlayerWindow(HostSession& session, const char* title) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PlayerProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = ClassName;
    RegisterClassA(&windowClass);
    auto* state = new PlayerState;
    state->session = &session;
    const std::string& path = session.options->audioPath;
    state->fileName = path.empty() ? "(no file)" : path.substr(path.find_last_of("/\\") + 1);
    state->doubleSize = session.options->doubleSize;
    const int scale = state->doubleSize ? 2 : 1;
    HWND window =
        CreateWindowExA(WS_EX_APPWINDOW, ClassName, title, WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 200, 200,
                        PlayerWidth * scale, PlayerHeight * scale, nullptr, nullptr, windowClass.hInstance, state);
    if (!window) {
        delete state;
        return nullptr;
    }
    SetTimer(window, StatusTimer, 250, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}
