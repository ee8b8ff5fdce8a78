#include "tools/skingen/meters.h"

#include <cmath>

namespace {

constexpr int SpectrumTop = 7, SpectrumBottom = 31;
constexpr int BarCount = 85, FirstBarColumn = 14, BarPitch = 3;
constexpr int LeftBarOuter = 7, LeftBarInner = 135, RightBarInner = 139, RightBarOuter = 267;
constexpr int MirrorSum = LeftBarOuter + RightBarOuter;  // right bar at x shows G(274 - x)
constexpr uint8_t MeterBlue = 8;

const uint8_t SpectrumRed[25] = {123, 128, 133, 138, 142, 148, 153, 158, 163, 167, 172, 178, 183,
                                 188, 192, 197, 202, 207, 212, 218, 222, 227, 232, 237, 242};
const uint8_t SpectrumGreen[25] = {66, 68, 71, 73, 75, 78, 80, 82, 84, 86, 89, 91, 93,
                                   96, 98, 100, 103, 105, 107, 109, 111, 114, 116, 119, 120};

void FillColumn(Image& image, int x) {
    for (int y = SpectrumTop; y <= SpectrumBottom; ++y) image.at(x, y) = SpectrumGradient(y);
}

}  // namespace

Rgb LevelGradient(int x) {
    const double k = x - LeftBarOuter;
    return {uint8_t(std::lround(123 + 123 * k / 128)), uint8_t(std::lround(66 + 56 * k / 128)), MeterBlue};
}

Rgb SpectrumGradient(int y) {
    return {SpectrumRed[y - SpectrumTop], SpectrumGreen[y - SpectrumTop], MeterBlue};
}

void DrawSpectrumField(Image& image) {
    for (int x = 7; x <= 9; ++x) FillColumn(image, x);
    for (int k = 0; k < BarCount; ++k) {
        FillColumn(image, FirstBarColumn + BarPitch * k);
        FillColumn(image, FirstBarColumn + BarPitch * k + 1);
    }
}

void DrawLevelBars(Image& image, int top, int rows) {
    for (int y = top; y < top + rows; ++y) {
        for (int x = LeftBarOuter; x <= LeftBarInner; ++x) image.at(x, y) = LevelGradient(x);
        for (int x = RightBarInner; x <= RightBarOuter; ++x) image.at(x, y) = LevelGradient(MirrorSum - x);
    }
}
