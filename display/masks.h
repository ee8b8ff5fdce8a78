// The black masks that hide a whole meter, shared by the meters (when hidden)
// and by start-up (before the first frame).
#pragma once

void PaintHiddenLevelMeter(int bandTop, int bandBottom);
void PaintHiddenSpectrum();
