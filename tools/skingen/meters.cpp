#include "tools/skingen/meters.h"

#include <cmath>

#include "display/skin_layout.h"

namespace {

constexpr int MirrorSum = LeftBarOuter + RightBarOuter;  // right bar at x shows G(274 - x)
constexpr uint8_t MeterBlue = 8;

const uint8_t SpectrumRed[25] = {123, 128, 133, 138, 142, 148, 153, 158, 163, 167, 172, 178, 183,
                                 188, 192, 197, 202, 207, 212, 218, 222, 227, 232, 237, 242};
const uint8_t SpectrumGreen[25] = {66, 68, 71,  73,  75,  78,  80,  82,  84,  86,  89,  91, 93,
                                   96, 98, 100, 103, 105, 107, 109, 111, 114, 116, 119, 120};

void FillColumn(Image& image, int x) {
    for (int y = SpectrumRows.top; y < SpectrumRows.bottom; ++y) image.at(x, y) = SpectrumGradient(y);
}

void FillColumns(Image& image, Columns columns) {
    for (int x = columns.left; x < columns.right; ++x) FillColumn(image, x);
}

}  // namespace

Rgb LevelGradient(int x) {
    const double k = x - LeftBarOuter;
    return {uint8_t(std::lround(123 + 123 * k / 128)), uint8_t(std::lround(66 + 56 * k / 128)), MeterBlue};
}

Rgb SpectrumGradient(int y) {
    return {SpectrumRed[y - SpectrumRows.top], SpectrumGreen[y - SpectrumRows.top], MeterBlue};
}

void DrawSpectrumField(Image& image) {
    FillColumns(image, BassColumns);
    // Bar 0 falls on the black strip: the skin lights bars 1 onwards.
    for (int bar = 1; bar < SpectrumBars; ++bar) FillColumns(image, {BarLeft(bar), BarLeft(bar) + BarWidth});
}

void DrawLevelBars(Image& image, Rows rows) {
    for (int y = rows.top; y < rows.bottom; ++y) {
        for (int x = LeftLevelBar.left; x < LeftLevelBar.right; ++x) image.at(x, y) = LevelGradient(x);
        for (int x = RightLevelBar.left; x < RightLevelBar.right; ++x) image.at(x, y) = LevelGradient(MirrorSum - x);
    }
}
