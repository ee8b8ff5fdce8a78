// Module start-up and shut-down: the window class, the popup window, the two
// drawing surfaces, the tables of the signal display, the timer and the menu.
#include "display/masks.h"
#include "plugin/version.h"
#include "settings/settings_file.h"
#include "window/canvas.h"
#include "window/drag.h"
#include "window/module_ops.h"
#include "window/placement.h"
#include "window/plugin_instance.h"
#include "window/window_proc.h"

namespace {

// Fixed: programs that look for the plug-in's window know it by this name.
constexpr char PluginWindowClass[] = "DAVevUri";
// Fixed: users know the start-up failures by this caption.
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
        if (Plugin.LeftoverWindow) DestroyWindow(Plugin.LeftoverWindow);
        Plugin.LeftoverWindow = nullptr;
        UnregisterClassA(PluginWindowClass, instance);
        if (!RegisterClassA(&windowClass)) return false;
    }
    Plugin.ClassInstance = instance;
    return true;
}

void UnregisterPluginClass() {
    if (!Plugin.ClassInstance) return;
    UnregisterClassA(PluginWindowClass, Plugin.ClassInstance);
    Plugin.ClassInstance = nullptr;
}

// The skin goes into the canvas; its pristine copy, taken before any mask is
// painted, is what every frame starts from.
void MakeSurfaces(HINSTANCE instance, const ModuleSkin& skin) {
    Plugin.CanvasBitmap = LoadBitmapA(instance, skin.bitmap);
    Plugin.CanvasDC = CreateCompatibleDC(nullptr);
    Plugin.CanvasSavedBitmap = SelectObject(Plugin.CanvasDC, Plugin.CanvasBitmap);
    Plugin.SkinDC = CreateCompatibleDC(Plugin.CanvasDC);
    // Made from the canvas, which holds the skin, so it has the skin's colours.
    Plugin.PristineBitmap = CreateCompatibleBitmap(Plugin.CanvasDC, Plugin.WindowWidth, Plugin.WindowHeight);
    Plugin.SkinSavedBitmap = SelectObject(Plugin.SkinDC, Plugin.PristineBitmap);
    BitBlt(Plugin.SkinDC, 0, 0, Plugin.WindowWidth, Plugin.WindowHeight, Plugin.CanvasDC, 0, 0, SRCCOPY);
    Plugin.BlackBrush = CreateSolidBrush(RGB(0, 0, 0));
    Plugin.CanvasSavedBrush = SelectObject(Plugin.CanvasDC, Plugin.BlackBrush);
}

void MakePopupMenu() {
    Plugin.PopupMenu = CreatePopupMenu();
    AppendMenuA(Plugin.PopupMenu, MF_STRING, MenuAbout, "About ...");
    AppendMenuA(Plugin.PopupMenu, MF_STRING, MenuConfig, "Config ...");
    AppendMenuA(Plugin.PopupMenu, MF_STRING, MenuClose, "Close");
}

// A window that the platform would not destroy must not call into the
// plug-in once its surfaces are released or the library is unloaded: it is
// hidden and handed to the default procedure until the next start-up.
void DetachWindow(HWND window) {
    ShowWindow(window, SW_HIDE);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
    Plugin.LeftoverWindow = window;
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
    Plugin.Settings = ReadSettings(module, Plugin.Settings);
    Plugin.HostWindow = module->hwndParent;
    // Decided afresh: a player may keep the library loaded between runs.
    Plugin.SpecialHost = HasHostMagic(module);
    RECT host = {};
    GetWindowRect(Plugin.HostWindow, &host);
    PlaceAtStartup(host);

    if (!RegisterPluginClass(module->hDllInstance)) {
        MessageBoxA(module->hwndParent, "Error registering window class", FailureCaption, MB_OK);
        return 1;
    }
    HWND owner = (Plugin.Settings.dockMode & DockAttached) ? Plugin.HostWindow : nullptr;
    Plugin.PluginWindow =
        CreateWindowExA(0, PluginWindowClass, "ZARir " VIS_KT_VERSION, WS_POPUP, Plugin.Settings.x, Plugin.Settings.y,
                        Plugin.WindowWidth, Plugin.WindowHeight, owner, nullptr, module->hDllInstance, nullptr);
    if (!Plugin.PluginWindow) {
        MessageBoxA(module->hwndParent, "Error creating window", FailureCaption, MB_OK);
        // A class left registered would make every later start-up fail.
        UnregisterPluginClass();
        return 1;
    }
    SetWindowLongPtrA(Plugin.PluginWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(module));

    const ModuleSkin& skin = SelectedSkin();
    MakeSurfaces(module->hDllInstance, skin);
    PaintList masks;
    PaintStartupMasks(skin, masks);
    PaintCanvas(masks);
    Plugin.shown.current = false;
    ResetLevelMeter(Plugin.meter);
    ResetSpectrumAnalysis(Plugin.analysis);
    ResetSpectrumDisplay(Plugin.spectrum);
    Plugin.HostPlaying = false;
    Plugin.Drag = {};

    SetTimer(Plugin.PluginWindow, RenderTimerId, module->delayMs, nullptr);
    if (Plugin.Settings.dockMode & DockOnTop) {
        SetWindowPos(Plugin.PluginWindow, HWND_TOPMOST, Plugin.Settings.x, Plugin.Settings.y, Plugin.WindowWidth,
                     Plugin.WindowHeight, SWP_SHOWWINDOW);
    }
    ShowWindow(Plugin.PluginWindow, SW_SHOWNORMAL);
    MakePopupMenu();
    return 0;
}

// Safe to run again: each step releases only what is still held.
void VIS_CDECL Quit(winampVisModule* module) {
    // The player may stop the module in the middle of a drag.
    DragRelease();
    if (Plugin.PluginWindow) KillTimer(Plugin.PluginWindow, RenderTimerId);
    SelectBack(Plugin.SkinDC, Plugin.SkinSavedBitmap);
    DeleteHeld(Plugin.PristineBitmap);
    DeleteSurface(Plugin.SkinDC);
    SelectBack(Plugin.CanvasDC, Plugin.CanvasSavedBitmap);
    DeleteHeld(Plugin.CanvasBitmap);
    SelectBack(Plugin.CanvasDC, Plugin.CanvasSavedBrush);
    DeleteSurface(Plugin.CanvasDC);
    DeleteHeld(Plugin.BlackBrush);
    if (Plugin.PluginWindow) {
        HWND window = Plugin.PluginWindow;
        Plugin.PluginWindow = nullptr;
        if (!DestroyWindow(window)) DetachWindow(window);
    }
    WriteSettings(module, Plugin.Settings);
    UnregisterPluginClass();
    if (Plugin.PopupMenu) DestroyMenu(Plugin.PopupMenu);
    Plugin.PopupMenu = nullptr;
}
