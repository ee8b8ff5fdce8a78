#include "window/geometry.h"

#include "plugin/plugin_state.h"

const ModuleSkin& SelectedSkin() { return Plugin.ModuleKind == ModuleVuMeter ? VuMeterSkin : DeduzodoSkin; }

void UpdateWindowSize() {
    Plugin.WindowWidth = SkinWidth;
    Plugin.WindowHeight = SelectedSkin().height;
    if (Plugin.DoubleSize) {
        Plugin.WindowWidth *= 2;
        Plugin.WindowHeight *= 2;
    }
}

void PlaceDocked(int hostLeft, int hostTop, int hostBottom) {
    Plugin.WindowX = hostLeft + (Plugin.SpecialHost ? SpecialHostDockOffset : 0);
    Plugin.WindowY = (Plugin.DockMode & DockAtTop) ? hostTop - Plugin.WindowHeight : hostBottom;
}
