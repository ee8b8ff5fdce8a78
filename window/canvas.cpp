#include "window/canvas.h"

#include "window/plugin_instance.h"

void PaintCanvas(const PaintList& paint) {
    if (!Plugin.CanvasDC) return;
    for (int i = 0; i < paint.count; ++i) {
        const BlackRect& r = paint.rects[i];
        // An inverted rectangle must paint nothing, but the platform's fill
        // mirrors it instead; clamp it to an empty one. The fill is still
        // made, so every frame costs the same calls.
        const RECT rect = {r.left, r.top, r.right > r.left ? r.right : r.left, r.bottom > r.top ? r.bottom : r.top};
        FillRect(Plugin.CanvasDC, &rect, Plugin.BlackBrush);
    }
}

void ShowCanvas(HDC target) {
    if (Plugin.DoubleSize) {
        StretchBlt(target, 0, 0, Plugin.WindowWidth, Plugin.WindowHeight, Plugin.CanvasDC, 0, 0,
                   Plugin.WindowWidth >> 1, Plugin.WindowHeight >> 1, SRCCOPY);
    } else {
        BitBlt(target, 0, 0, Plugin.WindowWidth, Plugin.WindowHeight, Plugin.CanvasDC, 0, 0, SRCCOPY);
    }
}
