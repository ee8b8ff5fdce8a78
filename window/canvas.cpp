#include "window/canvas.h"

#include "window/plugin_instance.h"

namespace {

// A fill of any other rectangle would paint nothing; the platform's own fill
// would even mirror an inverted one.
bool Paints(const BlackRect& r) { return r.right > r.left && r.bottom > r.top; }

bool Same(const BlackRect& a, const BlackRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool ShownAlready(const PaintList& paint) {
    const ShownPicture& shown = Plugin.shown;
    if (!shown.current || shown.doubleSize != Plugin.DoubleSize || shown.width != Plugin.WindowWidth ||
        shown.height != Plugin.WindowHeight) {
        return false;
    }
    int matched = 0;
    for (int i = 0; i < paint.count; ++i) {
        if (!Paints(paint.rects[i])) continue;
        if (matched == shown.fills.count || !Same(paint.rects[i], shown.fills.rects[matched])) return false;
        ++matched;
    }
    return matched == shown.fills.count;
}

void Remember(const PaintList& paint) {
    ShownPicture& shown = Plugin.shown;
    shown.doubleSize = Plugin.DoubleSize;
    shown.width = Plugin.WindowWidth;
    shown.height = Plugin.WindowHeight;
    shown.fills.count = 0;
    for (int i = 0; i < paint.count; ++i) {
        const BlackRect& r = paint.rects[i];
        if (Paints(r)) shown.fills.Add(r.left, r.top, r.right, r.bottom);
    }
    shown.current = true;
}

}  // namespace

bool PaintCanvas(const PaintList& paint) {
    if (!Plugin.CanvasDC) return false;
    bool painted = true;
    for (int i = 0; i < paint.count; ++i) {
        const BlackRect& r = paint.rects[i];
        if (!Paints(r)) continue;
        const RECT rect = {r.left, r.top, r.right, r.bottom};
        painted = FillRect(Plugin.CanvasDC, &rect, Plugin.BlackBrush) && painted;
    }
    return painted;
}

bool ShowCanvas(HDC target) {
    if (Plugin.DoubleSize) {
        return StretchBlt(target, 0, 0, Plugin.WindowWidth, Plugin.WindowHeight, Plugin.CanvasDC, 0, 0,
                          Plugin.WindowWidth >> 1, Plugin.WindowHeight >> 1, SRCCOPY);
    }
    return BitBlt(target, 0, 0, Plugin.WindowWidth, Plugin.WindowHeight, Plugin.CanvasDC, 0, 0, SRCCOPY);
}

void ShowPicture(const PaintList& paint) {
    if (ShownAlready(paint)) return;
    // Until every call of this drawing has worked, the window may show
    // anything: the next frame draws again.
    Plugin.shown.current = false;
    bool drawn =
        BitBlt(Plugin.CanvasDC, 0, 0, Plugin.WindowWidth, Plugin.WindowHeight, Plugin.SkinDC, 0, 0, SRCCOPY) != 0;
    drawn = PaintCanvas(paint) && drawn;
    HDC window = GetDC(Plugin.PluginWindow);
    drawn = ShowCanvas(window) && drawn;
    ReleaseDC(Plugin.PluginWindow, window);
    if (drawn) Remember(paint);
}
