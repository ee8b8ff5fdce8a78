// The black masks that hide a whole meter, shared by the meters (when hidden)
// and by start-up (before the first frame).
#pragma once

#include "display/paint_list.h"
#include "display/skin_layout.h"

void PaintHiddenLevelMeter(Rows band, PaintList& paint);
void PaintHiddenSpectrum(PaintList& paint);
// Every meter of the module's skin dark, until the first frame.
void PaintStartupMasks(const ModuleSkin& skin, PaintList& paint);
