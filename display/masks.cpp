#include "display/masks.h"

void PaintHiddenLevelMeter(Rows band, PaintList& paint) {
    paint.Add(LeftLevelBar.left, band.top, LeftLevelBar.right, band.bottom);
    paint.Add(RightLevelBar.left, band.top, RightLevelBar.right, band.bottom);
}

// The spectrum field (bars 1 to 85 with their gaps), then the bass indicator.
void PaintHiddenSpectrum(PaintList& paint) {
    paint.Add(SpectrumField.left, SpectrumRows.top, SpectrumField.right, SpectrumRows.bottom);
    paint.Add(BassColumns.left, SpectrumRows.top, BassColumns.right, SpectrumRows.bottom);
}

void PaintStartupMasks(const ModuleSkin& skin, PaintList& paint) {
    if (skin.hasSpectrum) PaintHiddenSpectrum(paint);
    PaintHiddenLevelMeter(skin.levelBand, paint);
}
