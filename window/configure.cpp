// The Configure dialog from either entry and the new dock mode applied to a
// running window (declared in window_proc.h).
#include "window/window_proc.h"

#include "settings/dialogs.h"
#include "settings/settings_file.h"
#include "window/module_ops.h"
#include "window/plugin_instance.h"

namespace {

// From another thread the request is sent to the window and waits for it.
void RequestDockMode(winampVisModule* module, uint8_t mode) {
    HWND window = Instance().PluginWindow;
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
    PluginInstance& plugin = Instance();
    if (!plugin.PluginWindow) return;
    plugin.Settings.dockMode = mode;
    SetWindowPos(plugin.PluginWindow, (mode & DockOnTop) ? HWND_TOPMOST : HWND_NOTOPMOST, plugin.Settings.x,
                 plugin.Settings.y, plugin.WindowWidth, plugin.WindowHeight, SWP_SHOWWINDOW);
    // The next frame docks anew, wherever the player window is.
    plugin.ForceDocking = true;
    module->Render(module);
}

void OpenConfigDialog(winampVisModule* module, HWND owner) {
    if (BringOpenConfigDialogForward()) return;
    PluginInstance& plugin = Instance();
    const bool running = plugin.PluginWindow != nullptr;
    // Without a running module the dialog starts from the stored mode.
    if (!running) plugin.Settings = ReadSettings(module, plugin.Settings);
    uint8_t mode = plugin.Settings.dockMode;
    if (!RunConfigDialog(module, owner, mode)) return;
    if (!running || !plugin.PluginWindow) {
        plugin.Settings.dockMode = mode;
        WriteSettings(module, plugin.Settings);
        return;
    }
    // The running window belongs to the module's thread, which may not be
    // this one: the new mode is applied there, between two of its renders.
    RequestDockMode(module, mode);
}

void VIS_CDECL Config(winampVisModule* module) { OpenConfigDialog(module, module->hwndParent); }
