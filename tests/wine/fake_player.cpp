#include "tests/wine/fake_player.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/wine/plugin_library.h"

FakePlayer Player;

namespace {

LRESULT CALLBACK PlayerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER && wParam == 0 && lParam == 104) {
        ++Player.queries;
        return Player.playingAnswer;
    }
    if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR || message == WM_SYSKEYDOWN) {
        MSG msg = {window, message, wParam, lParam, 0, {}};
        Player.received.push_back(msg);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void OpenPlayerWindow(int left, int top, int width, int height) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = PlayerWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "FakePlayerWindow";
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        registered = RegisterClassA(&windowClass) != 0;
    }
    Player = FakePlayer{};
    Player.window = CreateWindowExA(0, "FakePlayerWindow", "Player", WS_POPUP | WS_VISIBLE, left, top, width, height,
                                    nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(Player.window, nullptr);
    PumpMessages();
}

void MovePlayerWindow(int left, int top, int width, int height) {
    MoveWindow(Player.window, left, top, width, height, TRUE);
    PumpMessages();
}

void ClosePlayerWindow() {
    if (Player.window) DestroyWindow(Player.window);
    Player.window = nullptr;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        DispatchMessageA(&msg);
    }
}

std::string PluginIniPath() {
    char path[MAX_PATH];
    GetModuleFileNameA(LoadPluginLibrary().module, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + "plugin.ini";
}

void WriteModeSetting(const char* section, int mode) {
    WritePrivateProfileStringA(section, "Mode", std::to_string(mode).c_str(), PluginIniPath().c_str());
}

void RemovePluginIni() { DeleteFileA(PluginIniPath().c_str()); }

winampVisModule* GetModule(int index) {
    PluginLibrary& library = LoadPluginLibrary();
    return library.getHeader ? library.getHeader()->getModule(index) : nullptr;
}

int StartModule(winampVisModule* module, void* userData) {
    module->hwndParent = Player.window;
    module->hDllInstance = LoadPluginLibrary().module;
    module->userData = userData;
    return module->Init(module);
}

HWND FindPluginWindow() { return FindWindowA("DAVevUri", "ZARir 1.1f"); }

RECT WindowRectOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

COLORREF PixelAt(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

bool IsLit(COLORREF colour) { return colour != CLR_INVALID && (GetRValue(colour) > 40 || GetGValue(colour) > 40); }

void FillWaveform(winampVisModule* module, unsigned char left, unsigned char right) {
    std::memset(module->waveformData[0], left, sizeof module->waveformData[0]);
    std::memset(module->waveformData[1], right, sizeof module->waveformData[1]);
}
