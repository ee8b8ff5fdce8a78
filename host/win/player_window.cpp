#include "host/win/player_window.h"

#include <cstdio>
#include <string>

#include "host/win/module_calls.h"
#include "host/win/vis_thread.h"
#include "plugin/player_protocol.h"

namespace {

const char* const ClassName = "vis_host player";
constexpr UINT_PTR StatusTimer = 1;

// The host's own commands; the transport's are the player's command ids.
enum Command : WORD { CmdConfig = 1, CmdDouble, CmdExit };

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
    PluginFault fault;
    state.session->mainCall.Begin("Config");
    const bool returned = Guarded([&] { module->Config(module); }, fault);
    state.session->mainCall.End();
    if (!returned) {
        state.session->configError = FaultReport("Config", fault);
        RequestVisStop(*state.session);
    }
    state.inConfig = false;
    if (state.destroyAfterConfig) DestroyWindow(window);
}

std::string Caption(const HostSession& session) {
    const std::string& title = session.services.texts.fileTitle;
    return (title.empty() ? std::string("vis_host") : title) + " - Winamp";
}

// The caption says which call does not answer, and goes back once it returned.
void ShowHungCall(HWND window, const PlayerState& state, const CallUnderWay* call) {
    const char* operation = call ? call->Operation() : nullptr;
    std::string caption = Caption(*state.session);
    if (operation) caption += std::string(" [the module's ") + operation + " does not answer]";
    SetWindowTextA(window, caption.c_str());
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
    AppendMenuA(menu, MF_STRING, PlayerCommand::Play, "Play\tX");
    AppendMenuA(menu, MF_STRING, PlayerCommand::Pause, "Pause\tC");
    AppendMenuA(menu, MF_STRING, PlayerCommand::Stop, "Stop\tV");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | (state.session->runningModule ? 0 : MF_GRAYED), CmdConfig,
                "Configure module...\tCtrl+K");
    AppendMenuA(menu, MF_STRING | (state.doubleSize ? MF_CHECKED : 0), CmdDouble, "Double size\tCtrl+D");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, CmdExit, "Exit");
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
    DestroyMenu(menu);
}

// The player's commands, from its menu, its keys and plug-ins alike.
void RunCommand(HWND window, PlayerState& state, WORD command) {
    Transport& transport = *state.session->transport;
    switch (command) {
    case PlayerCommand::Play: transport.Play(); break;
    case PlayerCommand::Pause: transport.Pause(); break;
    case PlayerCommand::Stop: transport.Stop(); break;
    case PlayerCommand::Previous:
    case PlayerCommand::Next:
        // The playlist holds one file: either way it starts again.
        transport.Stop();
        transport.Play();
        break;
    case PlayerCommand::BackFiveSeconds: transport.Seek(-SeekStepMs); break;
    case PlayerCommand::ForwardFiveSeconds: transport.Seek(SeekStepMs); break;
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
    case 'Z': RunCommand(window, state, PlayerCommand::Previous); break;
    case 'X': RunCommand(window, state, PlayerCommand::Play); break;
    case 'C': RunCommand(window, state, PlayerCommand::Pause); break;
    case 'V': RunCommand(window, state, PlayerCommand::Stop); break;
    case 'B': RunCommand(window, state, PlayerCommand::Next); break;
    case VK_LEFT: RunCommand(window, state, PlayerCommand::BackFiveSeconds); break;
    case VK_RIGHT: RunCommand(window, state, PlayerCommand::ForwardFiveSeconds); break;
    case 'D':
        if (control) RunCommand(window, state, CmdDouble);
        break;
    case 'K':
        if (control) RunCommand(window, state, CmdConfig);
        break;
    }
}

LRESULT CALLBACK PlayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    }
    auto* state = reinterpret_cast<PlayerState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!state) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_USER: return AnswerPlayerQuery(state->session->services, wParam, lParam);
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
    case WM_HOST_CALL_HUNG: ShowHungCall(window, *state, reinterpret_cast<const CallUnderWay*>(wParam)); return 0;
    case WM_CLOSE:
        // The module ends first, on its own thread; its end destroys this
        // window. A module that does not answer cannot end: vis_host does.
        if (state->session->callHung) {
            const HostSession& session = *state->session;
            EndForHungCall(session, session.visCall.Operation() ? session.visCall : session.mainCall);
        }
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

HWND CreatePlayerWindow(HostSession& session, bool show) {
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
    // Plug-ins read the song's title from the caption, as the player writes it.
    const std::string caption = Caption(session);
    HWND window =
        CreateWindowExA(WS_EX_APPWINDOW, ClassName, caption.c_str(), WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 200, 200,
                        PlayerWidth * scale, PlayerHeight * scale, nullptr, nullptr, windowClass.hInstance, state);
    if (!window) {
        delete state;
        return nullptr;
    }
    SetTimer(window, StatusTimer, 250, nullptr);
    if (show) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }
    return window;
}
