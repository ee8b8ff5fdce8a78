#include "window/dock_mode_apply.h"

#include "plugin/plugin_state.h"
#include "window/window_proc.h"
#include "window/window_state.h"

void ApplyDockMode(winampVisModule* module, uint8_t mode) {
    if (!Win.PluginWindow) return;
    Plugin.DockMode = mode;
    SetWindowPos(Win.PluginWindow, (mode & DockOnTop) ? HWND_TOPMOST : HWND_NOTOPMOST, Plugin.WindowX,
                 Plugin.WindowY, Plugin.WindowWidth, Plugin.WindowHeight, SWP_SHOWWINDOW);
    // The next frame docks anew, wherever the player window is.
    Win.ForceDocking = true;
    module->Render(module);
}

void RequestDockMode(winampVisModule* module, uint8_t mode) {
    HWND window = Win.PluginWindow;
    if (!window) return;
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
        ApplyDockMode(module, mode);
    } else {
        // Waits for the module's thread; messages sent to this thread meanwhile
        // (the is-playing query) are still answered, so this cannot deadlock.
        SendMessageA(window, ApplyDockModeMessage, mode, reinterpret_cast<LPARAM>(module));
    }
}
