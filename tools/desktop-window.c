/* Opens a window and closes it again. The first window of a Wine session
 * starts the session's desktop process; tools/wine-session.sh runs this once
 * at the start, so that no test's first window has to wait for the desktop
 * on a loaded machine (where it can fail with "failed to start explorer.exe"). */
#include <windows.h>

int main(void) {
    HWND window =
        CreateWindowExA(0, "STATIC", "desktop", WS_POPUP, 0, 0, 1, 1, NULL, NULL, GetModuleHandleA(NULL), NULL);
    if (!window) return 1;
    DestroyWindow(window);
    return 0;
}
