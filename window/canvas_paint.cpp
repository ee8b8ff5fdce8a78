// The signal display's painting seam in the DLL: a black fill on the canvas.
#include "display/paint_seam.h"
#include "window/window_state.h"

void PaintBlack(int left, int top, int right, int bottom) {
    if (!Win.CanvasDC) return;
    const RECT rect = {left, top, right, bottom};
    FillRect(Win.CanvasDC, &rect, Win.BlackBrush);
}
