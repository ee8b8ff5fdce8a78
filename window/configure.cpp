#include "window/configure.h"

#include "settings/dialogs.h"
#include "settings/settings_file.h"
#include "window/module_ops.h"
#include "window/plugin_instance.h"

namespace {

// From another thread the request is sent to the window and waits for it.
void RequestDockMode(winampVisModule* module, uint8_t mode) {
    HWND window = Plugin.PluginWindow;
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
    if (!Plugin.PluginWindow) return;
    Plugin.Settings.dockMode = mode;
    SetWindowPos(Plugin.PluginWindow, (mode & DockOnTop) ? HWND_TOPMOST : HWND_NOTOPMOST, Plugin.Settings.x,
                 Plugin.Settings.y, Plugin.WindowWidth, Plugin.WindowHeight, SWP_SHOWWINDOW);
    // The next frame docks anew, wherever the player window is, and draws.
    Plugin.ForceDocking = true;
    Plugin.shown.current = false;
    module->Render(module);
}

void OpenConfigDialog(winampVisModule* module, HWND owner) {
    if (BringOpenConfigDialogForward()) return;
    const bool running = Plugin.PluginWindow != nullptr;
    // Without a running module the dialog starts from the stored mode.
    if (!running) Plugin.Settings = ReadSettings(module, Plugin.Settings);
    uint8_t mode = Plugin.Settings.dockMode;
    if (!RunConfigDialog(module, owner, mode)) return;
    if (!running || !Plugin.PluginWindow) {
        Plugin.Settings.dockMode = mode;
        WriteSettings(module, Plugin.Settings);
        return;
    }
    // The running window belongs to the module's thread, which may not be
    // this one: the new mode is applied there, between two of its renders.
    RequestDockMode(module, mode);
}

void VIS_CDECL Config(winampVisModule* module) { OpenConfigDialog(module, module->hwndParent); }
