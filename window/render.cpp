// The two render operations. Provisional: the level meter only, painting on
// the canvas when one exists.
#include "display/level_meter.h"
#include "plugin/module_ops.h"

int32_t VIS_CDECL RenderAnalyzer(winampVisModule* module) {
    AdvanceLevelFrame();
    LevelMeter(module, AnalyzerBandTop, AnalyzerBandBottom);
    return 0;
}

int32_t VIS_CDECL RenderVuMeter(winampVisModule* module) {
    AdvanceLevelFrame();
    LevelMeter(module, VuMeterBandTop, VuMeterBandBottom);
    return 0;
}
