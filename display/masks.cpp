#include "display/masks.h"

#include "display/paint_seam.h"

void PaintHiddenLevelMeter(int bandTop, int bandBottom) {
    PaintBlack(7, bandTop, 136, bandBottom);
    PaintBlack(139, bandTop, 268, bandBottom);
}

// The spectrum field (bars 1 to 85 with their gaps), then the bass indicator.
void PaintHiddenSpectrum() {
    PaintBlack(14, 7, 268, 32);
    PaintBlack(7, 7, 10, 32);
}
