#include "display/masks.h"

#include "display/paint_seam.h"

void PaintHiddenLevelMeter(Rows band) {
    PaintBlack(LeftLevelBar.left, band.top, LeftLevelBar.right, band.bottom);
    PaintBlack(RightLevelBar.left, band.top, RightLevelBar.right, band.bottom);
}

// The spectrum field (bars 1 to 85 with their gaps), then the bass indicator.
void PaintHiddenSpectrum() {
    PaintBlack(SpectrumField.left, SpectrumRows.top, SpectrumField.right, SpectrumRows.bottom);
    PaintBlack(BassColumns.left, SpectrumRows.top, BassColumns.right, SpectrumRows.bottom);
}
