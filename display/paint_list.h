// What a frame's meters leave to be painted black on the canvas, in order:
// rectangles (left, top, right, bottom; right and bottom exclusive) that the
// caller owns and turns into fills. A rectangle whose right edge is not
// greater than its left, or whose bottom is not greater than its top, still
// takes its place in the list, so that each meter adds a fixed number; it
// blackens nothing, and the caller makes no fill for it.
#pragma once

#include "display/skin_layout.h"

struct BlackRect {
    int left, top, right, bottom;
};

// The rectangles each meter adds per frame, shown; hidden, each adds two.
constexpr int LevelMeterRects = 4;
constexpr int SpectrumRects = 2 * SpectrumBars + 2;  // two per bar, two for the bass indicator

struct PaintList {
    // The most one frame needs: the level meter and the spectrum, shown.
    static constexpr int Capacity = LevelMeterRects + SpectrumRects;
    BlackRect rects[Capacity];
    int count = 0;

    // Past the capacity nothing is added; no frame comes near it.
    void Add(int left, int top, int right, int bottom) {
        if (count < Capacity) rects[count++] = {left, top, right, bottom};
    }
};
