#include "window/geometry.h"

#include "plugin/plugin_state.h"

void UpdateWindowSize() {
    Plugin.WindowWidth = 275;
    Plugin.WindowHeight = Plugin.ModuleKind == ModuleVuMeter ? 17 : 46;
    if (Plugin.DoubleSize) {
        Plugin.WindowWidth *= 2;
        Plugin.WindowHeight *= 2;
    }
}

void PlaceDocked(int hostLeft, int hostTop, int hostBottom) {
    // The companion front-end draws a border of its own left of our strip.
    Plugin.WindowX = hostLeft + (Plugin.SpecialHost ? 26 : 0);
    Plugin.WindowY = (Plugin.DockMode & DockAtTop) ? hostTop - Plugin.WindowHeight : hostBottom;
}
