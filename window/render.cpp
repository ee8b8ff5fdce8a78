// The two render operations: one frame sequence, with the spectrum only in
// the Deduzodo.
#include "display/level_meter.h"
#include "display/spectrum_display.h"
#include "window/module_ops.h"
#include "window/frame.h"

int32_t VIS_CDECL RenderAnalyzer(winampVisModule* module) {
    AdvanceLevelFrame();
    PrepareFrame();
    LevelMeter(module, DeduzodoSkin.levelBand);
    DrawSpectrum(module);
    PresentFrame();
    return 0;
}

int32_t VIS_CDECL RenderVuMeter(winampVisModule* module) {
    AdvanceLevelFrame();
    PrepareFrame();
    LevelMeter(module, VuMeterSkin.levelBand);
    PresentFrame();
    return 0;
}
