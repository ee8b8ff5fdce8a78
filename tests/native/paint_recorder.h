// Records every rectangle the signal display blackens, in a fixed buffer so
// that recording allocates nothing.
#pragma once

#include <ostream>
#include <vector>

struct PaintedRect {
    int left, top, right, bottom;
    bool operator==(const PaintedRect& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

std::ostream& operator<<(std::ostream& out, const PaintedRect& rect);

constexpr int PaintCapacity = 4096;

struct PaintRecorder {
    PaintedRect rects[PaintCapacity];
    int count = 0;
    bool overflowed = false;
};

extern PaintRecorder Painted;

void ClearPainted();
std::vector<PaintedRect> PaintedRects();
