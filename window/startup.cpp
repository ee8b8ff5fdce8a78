// Module start-up and shut-down: the window class, the popup window, the two
// drawing surfaces, the tables of the signal display, the timer and the menu.
#include "display/skin_layout.h"
#include "plugin/plugin_state.h"
#include "plugin/version.h"
#include "settings/settings_file.h"
#include "window/geometry.h"
#include "window/module_ops.h"
#include "window/onscreen.h"
#include "window/signal_state.h"
#include "window/window_proc.h"
#include "window/window_state.h"

WindowState Win;
const char PluginWindowClass[] = "DAVevUri";

namespace {

constexpr char FailureCaption[] = "Shit !";

// A class of ours can outlive a shut-down that failed, or an earlier load of
// the library whose window procedure is gone: it is replaced, not reused. A
// class cannot be unregistered while a window of it exists, so a window that
// an earlier shut-down could not destroy goes first.
bool RegisterPluginClass(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = PluginWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = PluginWindowClass;
    if (!RegisterClassA(&windowClass)) {
        if (Win.LeftoverWindow) DestroyWindow(Win.LeftoverWindow);
        Win.LeftoverWindow = nullptr;
        UnregisterClassA(PluginWindowClass, instance);
        if (!RegisterClassA(&windowClass)) return false;
    }
    Win.ClassInstance = instance;
    return true;
}

void UnregisterPluginClass() {
    if (!Win.ClassInstance) return;
    UnregisterClassA(PluginWindowClass, Win.ClassInstance);
    Win.ClassInstance = nullptr;
}

// The skin goes into the canvas; its pristine copy, taken before any mask is
// painted, is what every frame starts from.
void MakeSurfaces(HINSTANCE instance, const ModuleSkin& skin) {
    Win.CanvasBitmap = LoadBitmapA(instance, skin.bitmap);
    Win.CanvasDC = CreateCompatibleDC(nullptr);
    Win.CanvasSavedBitmap = SelectObject(Win.CanvasDC, Win.CanvasBitmap);
    Win.SkinDC = CreateCompatibleDC(Win.CanvasDC);
    // Made from the canvas, which holds the skin, so it has the skin's colours.
    Win.PristineBitmap = CreateCompatibleBitmap(Win.CanvasDC, Plugin.WindowWidth, Plugin.WindowHeight);
    Win.SkinSavedBitmap = SelectObject(Win.SkinDC, Win.PristineBitmap);
    BitBlt(Win.SkinDC, 0, 0, Plugin.WindowWidth, Plugin.WindowHeight, Win.CanvasDC, 0, 0, SRCCOPY);
    Win.BlackBrush = CreateSolidBrush(RGB(0, 0, 0));
    Win.CanvasSavedBrush = SelectObject(Win.CanvasDC, Win.BlackBrush);
}

void MakePopupMenu() {
    Win.PopupMenu = CreatePopupMenu();
    AppendMenuA(Win.PopupMenu, MF_STRING, MenuAbout, "About ...");
    AppendMenuA(Win.PopupMenu, MF_STRING, MenuConfig, "Config ...");
    AppendMenuA(Win.PopupMenu, MF_STRING, MenuClose, "Close");
}

// A window that the platform would not destroy must not call into the
// plug-in once its surfaces are released or the library is unloaded: it is
// hidden and handed to the default procedure until the next start-up.
void DetachWindow(HWND window) {
    ShowWindow(window, SW_HIDE);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
    Win.LeftoverWindow = window;
}

void SelectBack(HDC surface, HGDIOBJ& saved) {
    if (surface && saved) SelectObject(surface, saved);
    saved = nullptr;
}

template <typename Handle>
void DeleteHeld(Handle& object) {
    if (object) DeleteObject(object);
    object = nullptr;
}

void DeleteSurface(HDC& surface) {
    if (surface) DeleteDC(surface);
    surface = nullptr;
}

}  // namespace

int32_t VIS_CDECL Init(winampVisModule* module) {
    ReadSettings(module);
    Win.HostWindow = module->hwndParent;
    RECT host = {};
    GetWindowRect(Win.HostWindow, &host);
    Win.LastHostRect = host;
    Win.ForceDocking = false;
    // Both are decided afresh: a player may keep the library loaded between runs.
    Plugin.DoubleSize = host.right - host.left > DoubleSizeAboveWidth;
    UpdateWindowSize();
    Plugin.SpecialHost = HasHostMagic(module);

    HWND owner = nullptr;
    if (Plugin.DockMode & DockAttached) {
        owner = Win.HostWindow;
        PlaceDocked(host.left, host.top, host.bottom);
    } else {
        BringOntoScreen();
    }

    if (!RegisterPluginClass(module->hDllInstance)) {
        MessageBoxA(module->hwndParent, "Error registering window class", FailureCaption, MB_OK);
        return 1;
    }
    Win.PluginWindow = CreateWindowExA(0, PluginWindowClass, "ZARir " VIS_KT_VERSION, WS_POPUP, Plugin.WindowX, Plugin.WindowY,
                                       Plugin.WindowWidth, Plugin.WindowHeight, owner, nullptr,
                                       module->hDllInstance, nullptr);
    if (!Win.PluginWindow) {
        MessageBoxA(module->hwndParent, "Error creating window", FailureCaption, MB_OK);
        // A class left registered would make every later start-up fail.
        UnregisterPluginClass();
        return 1;
    }
    SetWindowLongPtrA(Win.PluginWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(module));

    const ModuleSkin& skin = SelectedSkin();
    MakeSurfaces(module->hDllInstance, skin);
    PaintStartupMasks(skin);
    ResetLevelMeter(Signal.meter);
    BuildSpectrumTables(Signal.analysis);
    InitSpectrumDisplay(Signal.spectrum);
    Plugin.HostPlaying = false;
    Plugin.Dragging = false;
    Win.DragOrigin = {Plugin.WindowX, Plugin.WindowY};

    SetTimer(Win.PluginWindow, RenderTimerId, module->delayMs, nullptr);
    if (Plugin.DockMode & DockOnTop) {
        SetWindowPos(Win.PluginWindow, HWND_TOPMOST, Plugin.WindowX, Plugin.WindowY, Plugin.WindowWidth,
                     Plugin.WindowHeight, SWP_SHOWWINDOW);
    }
    ShowWindow(Win.PluginWindow, SW_SHOWNORMAL);
    MakePopupMenu();
    return 0;
}

// Safe to run again: each step releases only what is still held.
void VIS_CDECL Quit(winampVisModule* module) {
    // The player may stop the module in the middle of a drag.
    if (Plugin.Dragging) {
        ClipCursor(nullptr);
        Plugin.Dragging = false;
    }
    if (Win.PluginWindow) KillTimer(Win.PluginWindow, RenderTimerId);
    SelectBack(Win.SkinDC, Win.SkinSavedBitmap);
    DeleteHeld(Win.PristineBitmap);
    DeleteSurface(Win.SkinDC);
    SelectBack(Win.CanvasDC, Win.CanvasSavedBitmap);
    DeleteHeld(Win.CanvasBitmap);
    SelectBack(Win.CanvasDC, Win.CanvasSavedBrush);
    DeleteSurface(Win.CanvasDC);
    DeleteHeld(Win.BlackBrush);
    if (Win.PluginWindow) {
        HWND window = Win.PluginWindow;
        Win.PluginWindow = nullptr;
        if (!DestroyWindow(window)) DetachWindow(window);
    }
    WriteSettings(module);
    UnregisterPluginClass();
    if (Win.PopupMenu) DestroyMenu(Win.PopupMenu);
    Win.PopupMenu = nullptr;
}
