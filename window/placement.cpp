#include "window/placement.h"

#include <cstdint>

#include "window/plugin_instance.h"

namespace {

// Double size follows a player window wider than 400 pixels.
constexpr int DoubleSizeAboveWidth = 400;

void SizeForHost(const RECT& host) {
    Plugin.DoubleSize = host.right - host.left > DoubleSizeAboveWidth;
    const int scale = Plugin.DoubleSize ? 2 : 1;
    Plugin.WindowWidth = scale * SkinWidth;
    Plugin.WindowHeight = scale * SelectedSkin().height;
}

void PlaceDocked(const RECT& host) {
    Plugin.Settings.x = host.left + (Plugin.SpecialHost ? SpecialHostDockOffset : 0);
    Plugin.Settings.y = (Plugin.Settings.dockMode & DockAtTop) ? host.top - Plugin.WindowHeight : host.bottom;
}

bool HostMovedSinceDocking(const RECT& host) {
    // The right edge is left out: a player window that only changes width
    // keeps the plug-in window where it is.
    const RECT& last = Plugin.LastHostRect;
    return Plugin.ForceDocking || host.left != last.left || host.top != last.top || host.bottom != last.bottom;
}

int32_t Clamp(int64_t value, int32_t low, int32_t high) {
    if (value > high) value = high;
    if (value < low) value = low;
    return static_cast<int32_t>(value);
}

using MonitorFromRectFunction = HMONITOR(WINAPI*)(LPCRECT, DWORD);
using GetMonitorInfoFunction = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);

// Fills `work` with the work area the window has to move into and returns
// true when no screen shows any part of the window. Windows 95 and NT 4.0
// have no monitor functions, so they are looked up here rather than
// imported; without them the primary screen is the only one.
bool OffScreen(const RECT& window, RECT& work) {
    HMODULE user = GetModuleHandleA("user32.dll");
    const auto monitorFromRect =
        reinterpret_cast<MonitorFromRectFunction>(reinterpret_cast<void*>(GetProcAddress(user, "MonitorFromRect")));
    const auto getMonitorInfo =
        reinterpret_cast<GetMonitorInfoFunction>(reinterpret_cast<void*>(GetProcAddress(user, "GetMonitorInfoA")));
    if (monitorFromRect && getMonitorInfo) {
        if (monitorFromRect(&window, MONITOR_DEFAULTTONULL)) return false;
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        if (!getMonitorInfo(monitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &monitor)) return false;
        work = monitor.rcWork;
        return true;
    }
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT shown;
    if (IntersectRect(&shown, &window, &screen)) return false;
    return SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) != 0;
}

// Moves a free window into the nearest monitor's work area when its
// rectangle lies entirely outside every monitor (a stored position from a
// screen that is gone, or a damaged settings file).
void BringOntoScreen() {
    WindowSettings& place = Plugin.Settings;
    // 64-bit sums: a stored position near the limits of 32 bits must not wrap.
    const int64_t right = static_cast<int64_t>(place.x) + Plugin.WindowWidth;
    const int64_t bottom = static_cast<int64_t>(place.y) + Plugin.WindowHeight;
    const RECT window = {place.x, place.y, Clamp(right, INT32_MIN, INT32_MAX), Clamp(bottom, INT32_MIN, INT32_MAX)};
    RECT work;
    if (!OffScreen(window, work)) return;
    place.x = Clamp(place.x, work.left, work.right - Plugin.WindowWidth);
    place.y = Clamp(place.y, work.top, work.bottom - Plugin.WindowHeight);
}

}  // namespace

const ModuleSkin& SelectedSkin() { return Plugin.ModuleKind == ModuleVuMeter ? VuMeterSkin : DeduzodoSkin; }

void PlaceAtStartup(const RECT& host) {
    Plugin.LastHostRect = host;
    Plugin.ForceDocking = false;
    SizeForHost(host);
    if (Plugin.Settings.dockMode & DockAttached) {
        PlaceDocked(host);
    } else {
        BringOntoScreen();
    }
}

bool FollowHostWindow() {
    RECT host;
    // A player window that is gone has no rectangle: keep position and size.
    if (!GetWindowRect(Plugin.HostWindow, &host)) return false;
    SizeForHost(host);
    if (!(Plugin.Settings.dockMode & DockAttached) || !HostMovedSinceDocking(host)) return false;
    PlaceDocked(host);
    MoveWindow(Plugin.PluginWindow, Plugin.Settings.x, Plugin.Settings.y, Plugin.WindowWidth, Plugin.WindowHeight,
               TRUE);
    Plugin.LastHostRect = host;
    Plugin.ForceDocking = false;
    return true;
}
