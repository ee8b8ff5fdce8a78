#include "window/window_proc.h"

#include "display/skin_layout.h"
#include "plugin/records.h"
#include "settings/dialogs.h"
#include "window/frame.h"
#include "window/plugin_instance.h"

namespace {

winampVisModule* AttachedModule(HWND window) {
    return reinterpret_cast<winampVisModule*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

int LowWord(LPARAM lParam) { return static_cast<int>(lParam & 0xFFFF); }
int HighWord(LPARAM lParam) { return static_cast<int>((lParam >> 16) & 0xFFFF); }

void Repaint(HWND window) {
    PAINTSTRUCT paint;
    HDC target = BeginPaint(window, &paint);
    // Without a surface the update region must still be validated, or
    // WM_PAINT comes straight back for ever.
    if (!target) {
        ValidateRect(window, nullptr);
        return;
    }
    ShowCanvas(target);
    EndPaint(window, &paint);
}

// While the player is stopped or paused the timer renders, so bars and peaks
// fall back to rest; while it plays, the player renders itself.
void TimerTick(HWND window) {
    PluginInstance& plugin = Instance();
    if (plugin.Dragging) return;
    if (plugin.SpecialHost) {
        plugin.HostPlaying = true;
        return;
    }
    if (SendMessageA(plugin.HostWindow, WM_USER, 0, IsPlayingQuery) == 1) {
        plugin.HostPlaying = true;
        return;
    }
    plugin.HostPlaying = false;
    if (winampVisModule* module = AttachedModule(window)) module->Render(module);
}

// Moves the window with the grab point held under the cursor, and keeps the
// cursor inside it until the button goes up.
void DragStep(HWND window, LPARAM lParam) {
    PluginInstance& plugin = Instance();
    POINT point = {LowWord(lParam) - plugin.DragOrigin.x, HighWord(lParam) - plugin.DragOrigin.y};
    // A move to a client point taken for a screen one would bring the next
    // mouse move at once, and the window would jump back and forth.
    if (!ClientToScreen(window, &point)) return;
    plugin.Settings.x = point.x;
    plugin.Settings.y = point.y;
    MoveWindow(window, plugin.Settings.x, plugin.Settings.y, plugin.WindowWidth, plugin.WindowHeight, TRUE);
    const RECT confine = {plugin.Settings.x, plugin.Settings.y, plugin.Settings.x + plugin.WindowWidth,
                          plugin.Settings.y + plugin.WindowHeight};
    ClipCursor(&confine);
}

// The meter under a double-click at (x, y) in skin pixels, if any, is
// switched on or off.
void ToggleMeterUnder(const ModuleSkin& skin, int x, int y) {
    PluginInstance& plugin = Instance();
    if (SpectrumClickColumns.Contain(x) && skin.spectrumClickRows.Contain(y)) plugin.DisplayFlags ^= ShowSpectrum;
    const bool onLevelBar = LeftLevelClickColumns.Contain(x) || RightLevelClickColumns.Contain(x);
    if (onLevelBar && skin.levelClickRows.Contain(y)) plugin.DisplayFlags ^= ShowLevelMeter;
}

void ToggleMeterAt(LPARAM lParam) {
    PluginInstance& plugin = Instance();
    int x = LowWord(lParam);
    int y = HighWord(lParam);
    if (plugin.DoubleSize) {
        x >>= 1;
        y >>= 1;
    }
    if (plugin.ModuleKind == ModuleDeduzodo) ToggleMeterUnder(DeduzodoSkin, x, y);
    if (plugin.ModuleKind == ModuleVuMeter) ToggleMeterUnder(VuMeterSkin, x, y);
}

void OpenContextMenu(LPARAM lParam) {
    PluginInstance& plugin = Instance();
    RECT frame;
    GetWindowRect(plugin.PluginWindow, &frame);
    // The window has no border, so client and window origin coincide.
    TrackPopupMenu(plugin.PopupMenu, 0, LowWord(lParam) + frame.left, HighWord(lParam) + frame.top, 0,
                   plugin.PluginWindow, nullptr);
}

void MenuCommand(HWND window, WPARAM command) {
    winampVisModule* module = AttachedModule(window);
    if (!module) return;
    switch (command) {
    case MenuAbout:
        OpenAboutDialog(module, window);
        break;
    case MenuConfig:
        OpenConfigDialog(module, window);
        break;
    case MenuClose:
        module->Quit(module);
        break;
    default:
        break;
    }
}

}  // namespace

LRESULT CALLBACK PluginWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PluginInstance& plugin = Instance();
    switch (message) {
    case WM_CREATE:
    case WM_ERASEBKGND:
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        // Destroyed with its owner, the player window: rendering must stop
        // touching it.
        if (window == plugin.PluginWindow) plugin.PluginWindow = nullptr;
        break;
    case WM_PAINT:
        Repaint(window);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (winampVisModule* module = AttachedModule(window)) {
            PostMessageA(module->hwndParent, message, wParam, lParam);
        }
        return 0;
    case WM_COMMAND:
        MenuCommand(window, wParam);
        return 0;
    case WM_TIMER:
        TimerTick(window);
        return 0;
    case WM_MOUSEMOVE:
        if ((plugin.Settings.dockMode & DockAttached) || wParam != MK_LBUTTON) break;
        DragStep(window, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        plugin.Dragging = true;
        plugin.DragOrigin = {LowWord(lParam), HighWord(lParam)};
        return 0;
    case WM_LBUTTONUP:
        if (!plugin.Dragging) break;
        plugin.Dragging = false;
        ClipCursor(nullptr);
        return 0;
    case WM_LBUTTONDBLCLK:
        ToggleMeterAt(lParam);
        return 0;
    case WM_RBUTTONDOWN:
        OpenContextMenu(lParam);
        return 0;
    case ApplyDockModeMessage:
        ApplyDockMode(reinterpret_cast<winampVisModule*>(lParam), static_cast<uint8_t>(wParam));
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
