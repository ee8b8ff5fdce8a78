#include "display/spectrum_display.h"

#include <cmath>

#include "display/extended_precision.h"
#include "display/masks.h"
#include "display/paint_seam.h"
#include "display/spectrum_analysis.h"
#include "plugin/plugin_state.h"

SpectrumDisplayState SpectrumView;

namespace {

constexpr int BarTopRow = 7;      // row offset 0
constexpr int LowestOffset = 24;  // a peak mark rests here, on row 31

// Bar k shows the magnitude of transform slot k. The magnitude pass has
// already converted the slots that BarBinTable names; for the others the
// length of (Re, Im) is taken here, leaving the arrays as they are. The raw
// real part alone is signed and flickers at random, and reading the
// magnitude at BarBinTable[k] instead would leave the 27 bars whose entry is
// 0 dark for good. Without a fresh transform (HostPlaying false) SpectrumRe
// is all 0 while SpectrumIm is stale, so every bar reads 0.
double BarValue(int k) {
    if (Analysis.SlotIsMagnitude[k]) return Analysis.SpectrumRe[k];
    if (!Analysis.HoldsTransform) return 0.0;
    const Extended re = Analysis.SpectrumRe[k], im = Analysis.SpectrumIm[k];
    return Stored(std::sqrt(re * re + im * im));
}

// The mark jumps up to a higher top at once and otherwise falls one row.
void MovePeak(int32_t& peak, int top) {
    if (peak > top) {
        peak = top;
    } else if (peak < LowestOffset) {
        ++peak;
    }
}

// Blackens a column band above the peak mark and between it and the top.
void PaintColumn(int left, int right, int peak, int top) {
    PaintBlack(left, BarTopRow, right, BarTopRow + peak);
    PaintBlack(left, BarTopRow + peak + 1, right, BarTopRow + top);
}

}  // namespace

void InitSpectrumDisplay() {
    int32_t* thresholds = SpectrumView.LevelThresholds;
    for (int i = 0; i < 25; ++i) thresholds[i] = 0;
    // Each entry keeps the largest j that rounds to it.
    const X87Environment caller = EnterExtendedPrecision();
    for (int j = 1; j <= 35000; ++j) {
        const int index = static_cast<int>(std::nearbyint(5.3L * std::log(Extended(j)) / std::log(10.0L)));
        thresholds[index] = j;
    }
    LeaveExtendedPrecision(caller);
    thresholds[0] = 0;
    thresholds[1] = 200;
    for (int32_t& peak : SpectrumView.BarPeak) peak = 23;
}

int BarHeight(double value) {
    for (int m = 1; m <= 24; ++m) {
        if (SpectrumView.LevelThresholds[m] > value) return m;
    }
    return 25;
}

void DrawSpectrum(const winampVisModule* module) {
    if (!(Plugin.DisplayFlags & ShowSpectrum)) {
        PaintHiddenSpectrum();
        return;
    }
    AnalyzeSpectrum(module);
    PaintSpectrum();
}

void PaintSpectrum() {
    // The top offsets of the bars and the bass indicator (entry 86) first,
    // with the reals, then the painting.
    int tops[SpectrumBars + 1];
    const X87Environment caller = EnterExtendedPrecision();
    for (int k = 0; k < SpectrumBars; ++k) tops[k] = 25 - BarHeight(BarValue(k));
    // The bass indicator: the DC magnitude, 40 units a row; 20 gives the tie
    // 0.5 exactly, and 60 just under 1.5.
    const Extended scaled = Extended(Analysis.SpectrumRe[1]) * 25 * 0.001L;
    const int bass = 25 - static_cast<int>(std::nearbyint(scaled));
    LeaveExtendedPrecision(caller);
    tops[SpectrumBars] = bass < 0 ? 0 : bass > 25 ? 25 : bass;

    for (int k = 0; k < SpectrumBars; ++k) {
        MovePeak(SpectrumView.BarPeak[k], tops[k]);
        PaintColumn(11 + 3 * k, 13 + 3 * k, SpectrumView.BarPeak[k], tops[k]);
    }
    MovePeak(SpectrumView.BassPeak, tops[SpectrumBars]);
    PaintColumn(7, 10, SpectrumView.BassPeak, tops[SpectrumBars]);
}
