// Stands in for the player in the installer tests: the fake player folder's
// winamp.exe. Run with two file paths, it opens a window of the player's
// class, creates the first file once the window exists, and exits when the
// second file appears (or after two minutes, so a failed test leaves nothing
// running). Run without arguments it exits at once.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) return 0;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Winamp v1.x";
    if (!RegisterClassA(&windowClass)) return 2;
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Winamp", WS_POPUP, 0, 0, 275, 116, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    if (!window) return 3;
    if (FILE* ready = std::fopen(argv[1], "w")) std::fclose(ready);
    for (int tick = 0; tick < 1200; ++tick) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        if (GetFileAttributesA(argv[2]) != INVALID_FILE_ATTRIBUTES) break;
        Sleep(100);
    }
    DestroyWindow(window);
    return 0;
}
