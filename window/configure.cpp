#include "window/configure.h"

#include "plugin/plugin_state.h"
#include "settings/dialogs.h"
#include "settings/settings_file.h"
#include "window/module_ops.h"
#include "window/window_proc.h"
#include "window/window_state.h"

namespace {

// From another thread the request is sent to the window and waits for it.
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

}  // namespace

void ApplyDockMode(winampVisModule* module, uint8_t mode) {
    if (!Win.PluginWindow) return;
    Plugin.DockMode = mode;
    SetWindowPos(Win.PluginWindow, (mode & DockOnTop) ? HWND_TOPMOST : HWND_NOTOPMOST, Plugin.WindowX,
                 Plugin.WindowY, Plugin.WindowWidth, Plugin.WindowHeight, SWP_SHOWWINDOW);
    // The next frame docks anew, wherever the player window is.
    Win.ForceDocking = true;
    module->Render(module);
}

void OpenConfigDialog(winampVisModule* module, HWND owner) {
    const bool running = Win.PluginWindow != nullptr;
    uint8_t mode = 0;
    if (!RunConfigDialog(module, owner, running, mode)) return;
    if (!running || !Win.PluginWindow) {
        Plugin.DockMode = mode;
        WriteSettings(module);
        return;
    }
    // The running window belongs to the module's thread, which may not be
    // this one: the new mode is applied there, between two of its renders.
    RequestDockMode(module, mode);
}

void VIS_CDECL Config(winampVisModule* module) { OpenConfigDialog(module, module->hwndParent); }
