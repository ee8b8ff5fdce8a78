#include "tests/native/paint_recorder.h"

#include "display/paint_seam.h"

PaintRecorder Painted;

void PaintBlack(int left, int top, int right, int bottom) {
    if (Painted.count == PaintCapacity) {
        Painted.overflowed = true;
        return;
    }
    Painted.rects[Painted.count++] = {left, top, right, bottom};
}

void ClearPainted() {
    Painted.count = 0;
    Painted.overflowed = false;
}

std::vector<PaintedRect> PaintedRects() {
    return std::vector<PaintedRect>(Painted.rects, Painted.rects + Painted.count);
}

std::ostream& operator<<(std::ostream& out, const PaintedRect& rect) {
    return out << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << ")";
}
