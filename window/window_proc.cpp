#include "window/window_proc.h"

#include "display/skin_layout.h"
#include "plugin/plugin_state.h"
#include "plugin/records.h"
#include "settings/dialogs.h"
#include "window/configure.h"
#include "window/frame.h"
#include "window/window_state.h"

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
    if (Plugin.Dragging) return;
    if (Plugin.SpecialHost) {
        Plugin.HostPlaying = true;
        return;
    }
    if (SendMessageA(Win.HostWindow, WM_USER, 0, IsPlayingQuery) == 1) {
        Plugin.HostPlaying = true;
        return;
    }
    Plugin.HostPlaying = false;
    if (winampVisModule* module = AttachedModule(window)) module->Render(module);
}

// Moves the window with the grab point held under the cursor, and keeps the
// cursor inside it until the button goes up.
void DragStep(HWND window, LPARAM lParam) {
    POINT point = {LowWord(lParam) - Win.DragOrigin.x, HighWord(lParam) - Win.DragOrigin.y};
    // A move to a client point taken for a screen one would bring the next
    // mouse move at once, and the window would jump back and forth.
    if (!ClientToScreen(window, &point)) return;
    Plugin.WindowX = point.x;
    Plugin.WindowY = point.y;
    MoveWindow(window, Plugin.WindowX, Plugin.WindowY, Plugin.WindowWidth, Plugin.WindowHeight, TRUE);
    const RECT confine = {Plugin.WindowX, Plugin.WindowY, Plugin.WindowX + Plugin.WindowWidth,
                          Plugin.WindowY + Plugin.WindowHeight};
    ClipCursor(&confine);
}

// The meter under a double-click at (x, y) in skin pixels, if any, is
// switched on or off.
void ToggleMeterUnder(const ModuleSkin& skin, int x, int y) {
    if (SpectrumClickColumns.Contain(x) && skin.spectrumClickRows.Contain(y)) Plugin.DisplayFlags ^= ShowSpectrum;
    const bool onLevelBar = LeftLevelClickColumns.Contain(x) || RightLevelClickColumns.Contain(x);
    if (onLevelBar && skin.levelClickRows.Contain(y)) Plugin.DisplayFlags ^= ShowLevelMeter;
}

void ToggleMeterAt(LPARAM lParam) {
    int x = LowWord(lParam);
    int y = HighWord(lParam);
    if (Plugin.DoubleSize) {
        x >>= 1;
        y >>= 1;
    }
    if (Plugin.ModuleKind == ModuleDeduzodo) ToggleMeterUnder(DeduzodoSkin, x, y);
    if (Plugin.ModuleKind == ModuleVuMeter) ToggleMeterUnder(VuMeterSkin, x, y);
}

void OpenContextMenu(LPARAM lParam) {
    RECT frame;
    GetWindowRect(Win.PluginWindow, &frame);
    // The window has no border, so client and window origin coincide.
    TrackPopupMenu(Win.PopupMenu, 0, LowWord(lParam) + frame.left, HighWord(lParam) + frame.top, 0,
                   Win.PluginWindow, nullptr);
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
        if (window == Win.PluginWindow) Win.PluginWindow = nullptr;
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
        if ((Plugin.DockMode & DockAttached) || wParam != MK_LBUTTON) break;
        DragStep(window, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        Plugin.Dragging = true;
        Win.DragOrigin = {LowWord(lParam), HighWord(lParam)};
        return 0;
    case WM_LBUTTONUP:
        if (!Plugin.Dragging) break;
        Plugin.Dragging = false;
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
