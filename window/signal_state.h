// The signal display's state, process-wide: it exists once for the life of
// the library, start-up resets it and every render steps it.
#pragma once

#include "display/level_meter.h"
#include "display/spectrum_analysis.h"
#include "display/spectrum_display.h"

struct SignalState {
    LevelMeterState meter;
    SpectrumAnalysisState analysis;
    SpectrumDisplayState spectrum;
};

extern SignalState Signal;
