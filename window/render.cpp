// The two render operations: one frame sequence, with the spectrum only in
// the Deduzodo.
#include "display/skin_layout.h"
#include "plugin/plugin_state.h"
#include "window/frame.h"
#include "window/module_ops.h"
#include "window/signal_state.h"

SignalState Signal;

int32_t VIS_CDECL RenderAnalyzer(winampVisModule* module) {
    AdvanceLevelFrame(Signal.meter);
    PrepareFrame();
    LevelMeter(Signal.meter, module->waveformData, Plugin.DisplayFlags & ShowLevelMeter, DeduzodoSkin.levelBand);
    DrawSpectrum(Signal.spectrum, Signal.analysis, module->waveformData, Plugin.DisplayFlags & ShowSpectrum,
                 Plugin.HostPlaying);
    PresentFrame();
    return 0;
}

int32_t VIS_CDECL RenderVuMeter(winampVisModule* module) {
    AdvanceLevelFrame(Signal.meter);
    PrepareFrame();
    LevelMeter(Signal.meter, module->waveformData, Plugin.DisplayFlags & ShowLevelMeter, VuMeterSkin.levelBand);
    PresentFrame();
    return 0;
}
