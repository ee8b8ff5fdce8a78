// The black masks that hide a whole meter, shared by the meters (when hidden)
// and by start-up (before the first frame).
#pragma once

#include "display/skin_layout.h"

void PaintHiddenLevelMeter(Rows band);
void PaintHiddenSpectrum();
