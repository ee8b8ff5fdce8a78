#include "window/onscreen.h"

#include <windows.h>

#include "plugin/plugin_state.h"

namespace {

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

}  // namespace

void BringOntoScreen() {
    // 64-bit sums: a stored position near the limits of 32 bits must not wrap.
    const int64_t right = static_cast<int64_t>(Plugin.WindowX) + Plugin.WindowWidth;
    const int64_t bottom = static_cast<int64_t>(Plugin.WindowY) + Plugin.WindowHeight;
    const RECT window = {Plugin.WindowX, Plugin.WindowY, Clamp(right, INT32_MIN, INT32_MAX),
                         Clamp(bottom, INT32_MIN, INT32_MAX)};
    RECT work;
    if (!OffScreen(window, work)) return;
    Plugin.WindowX = Clamp(Plugin.WindowX, work.left, work.right - Plugin.WindowWidth);
    Plugin.WindowY = Clamp(Plugin.WindowY, work.top, work.bottom - Plugin.WindowHeight);
}
