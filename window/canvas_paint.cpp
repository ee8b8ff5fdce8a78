// The signal display's painting seam in the DLL: a black fill on the canvas.
#include "display/paint_seam.h"
#include "window/window_state.h"

void PaintBlack(int left, int top, int right, int bottom) {
    if (!Win.CanvasDC) return;
    // An inverted rectangle must paint nothing, but the platform's fill
    // mirrors it instead; clamp it to an empty one. The fill is still made,
    // so every frame costs the same calls.
    const RECT rect = {left, top, right > left ? right : left, bottom > top ? bottom : top};
    FillRect(Win.CanvasDC, &rect, Win.BlackBrush);
}
