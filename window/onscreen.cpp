#include "window/onscreen.h"

#include <windows.h>

#include "plugin/plugin_state.h"

namespace {

int32_t Clamp(int64_t value, int32_t low, int32_t high) {
    if (value > high) value = high;
    if (value < low) value = low;
    return static_cast<int32_t>(value);
}

}  // namespace

void BringOntoScreen() {
    // 64-bit sums: a stored position near the limits of 32 bits must not wrap.
    const int64_t right = static_cast<int64_t>(Plugin.WindowX) + Plugin.WindowWidth;
    const int64_t bottom = static_cast<int64_t>(Plugin.WindowY) + Plugin.WindowHeight;
    const RECT window = {Plugin.WindowX, Plugin.WindowY, Clamp(right, INT32_MIN, INT32_MAX),
                         Clamp(bottom, INT32_MIN, INT32_MAX)};
    if (MonitorFromRect(&window, MONITOR_DEFAULTTONULL)) return;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    Plugin.WindowX = Clamp(Plugin.WindowX, work.left, work.right - Plugin.WindowWidth);
    Plugin.WindowY = Clamp(Plugin.WindowY, work.top, work.bottom - Plugin.WindowHeight);
}
