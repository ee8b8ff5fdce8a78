#include "window/window_proc.h"

#include <windowsx.h>

#include "display/skin_layout.h"
#include "plugin/player_protocol.h"
#include "plugin/records.h"
#include "settings/dialogs.h"
#include "window/canvas.h"
#include "window/configure.h"
#include "window/drag.h"
#include "window/plugin_instance.h"

namespace {

winampVisModule* AttachedModule(HWND window) {
    return reinterpret_cast<winampVisModule*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

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
    if (Plugin.Drag.Dragging) return;
    if (Plugin.SpecialHost) {
        Plugin.HostPlaying = true;
        return;
    }
    if (SendMessageA(Plugin.HostWindow, WM_USER, 0, PlayerQuery::IsPlaying) == 1) {
        Plugin.HostPlaying = true;
        return;
    }
    Plugin.HostPlaying = false;
    if (winampVisModule* module = AttachedModule(window)) module->Render(module);
}

// The meter under a double-click at (x, y) in skin pixels, if any, is
// switched on or off.
void ToggleMeterUnder(const ModuleSkin& skin, int x, int y) {
    if (SpectrumClickColumns.Contain(x) && skin.spectrumClickRows.Contain(y)) Plugin.DisplayFlags ^= ShowSpectrum;
    const bool onLevelBar = LeftLevelClickColumns.Contain(x) || RightLevelClickColumns.Contain(x);
    if (onLevelBar && skin.levelClickRows.Contain(y)) Plugin.DisplayFlags ^= ShowLevelMeter;
}

void ToggleMeterAt(LPARAM point) {
    int x = GET_X_LPARAM(point);
    int y = GET_Y_LPARAM(point);
    if (Plugin.DoubleSize) {
        x >>= 1;
        y >>= 1;
    }
    if (Plugin.ModuleKind == ModuleDeduzodo) ToggleMeterUnder(DeduzodoSkin, x, y);
    if (Plugin.ModuleKind == ModuleVuMeter) ToggleMeterUnder(VuMeterSkin, x, y);
}

void OpenContextMenu(LPARAM point) {
    RECT frame;
    GetWindowRect(Plugin.PluginWindow, &frame);
    // The window has no border, so client and window origin coincide.
    TrackPopupMenu(Plugin.PopupMenu, 0, GET_X_LPARAM(point) + frame.left, GET_Y_LPARAM(point) + frame.top, 0,
                   Plugin.PluginWindow, nullptr);
}

void MenuCommand(HWND window, WPARAM command) {
    winampVisModule* module = AttachedModule(window);
    if (!module) return;
    switch (command) {
    case MenuAbout: OpenAboutDialog(module, window); break;
    case MenuConfig: OpenConfigDialog(module, window); break;
    case MenuClose: module->Quit(module); break;
    default: break;
    }
}

}  // namespace

LRESULT CALLBACK PluginWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
    case WM_ERASEBKGND: return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_NCDESTROY:
        // Destroyed with its owner, the player window: rendering must stop
        // touching it.
        if (window == Plugin.PluginWindow) Plugin.PluginWindow = nullptr;
        break;
    case WM_PAINT: Repaint(window); return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (winampVisModule* module = AttachedModule(window)) {
            PostMessageA(module->hwndParent, message, wParam, lParam);
        }
        return 0;
    case WM_COMMAND: MenuCommand(window, wParam); return 0;
    case WM_TIMER: TimerTick(window); return 0;
    case WM_MOUSEMOVE:
        if (!DragMove(window, wParam, lParam)) break;
        return 0;
    case WM_LBUTTONDOWN: DragPress(window, lParam); return 0;
    case WM_LBUTTONUP:
        if (!DragRelease()) break;
        return 0;
    case WM_CAPTURECHANGED: DragCaptureLost(); return 0;
    case WM_LBUTTONDBLCLK: ToggleMeterAt(lParam); return 0;
    case WM_RBUTTONDOWN: OpenContextMenu(lParam); return 0;
    case ApplyDockModeMessage:
        ApplyDockMode(reinterpret_cast<winampVisModule*>(lParam), static_cast<uint8_t>(wParam));
        return 0;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
