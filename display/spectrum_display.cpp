#include "display/spectrum_display.h"

#include <cmath>

#include "display/extended_precision.h"
#include "display/masks.h"
#include "display/paint_seam.h"
#include "display/skin_layout.h"
#include "display/spectrum_analysis.h"

namespace {

constexpr int LowestOffset = SpectrumBarRows - 1;  // a peak mark rests here, on the bottom row

// Bar k shows the magnitude of transform slot k. The magnitude pass has
// already converted the slots that BarBinTable names; for the others the
// length of (Re, Im) is taken here, leaving the arrays as they are. The raw
// real part alone is signed and flickers at random, and reading the
// magnitude at BarBinTable[k] instead would leave the 27 bars whose entry is
// 0 dark for good. Without a fresh transform (HostPlaying false) SpectrumRe
// is all 0 while SpectrumIm is stale, so every bar reads 0.
double BarValue(const SpectrumAnalysisState& analysis, int k) {
    if (analysis.SlotIsMagnitude[k]) return analysis.SpectrumRe[k];
    if (!analysis.HoldsTransform) return 0.0;
    const Extended re = analysis.SpectrumRe[k], im = analysis.SpectrumIm[k];
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
    PaintBlack(left, SpectrumRows.top, right, SpectrumRows.top + peak);
    PaintBlack(left, SpectrumRows.top + peak + 1, right, SpectrumRows.top + top);
}

}  // namespace

void InitSpectrumDisplay(SpectrumDisplayState& view) {
    int32_t* thresholds = view.LevelThresholds;
    for (int i = 0; i < SpectrumBarRows; ++i) thresholds[i] = 0;
    // Each entry keeps the largest j that rounds to it.
    const X87Environment caller = EnterExtendedPrecision();
    for (int j = 1; j <= 35000; ++j) {
        const int index = static_cast<int>(std::nearbyint(5.3L * std::log(Extended(j)) / std::log(10.0L)));
        thresholds[index] = j;
    }
    LeaveExtendedPrecision(caller);
    thresholds[0] = 0;
    thresholds[1] = 200;
    for (int32_t& peak : view.BarPeak) peak = 23;
}

int BarHeight(const SpectrumDisplayState& view, double value) {
    for (int m = 1; m < SpectrumBarRows; ++m) {
        if (view.LevelThresholds[m] > value) return m;
    }
    return SpectrumBarRows;
}

void DrawSpectrum(SpectrumDisplayState& view, SpectrumAnalysisState& analysis, const WaveformChannels& samples,
                  bool shown, bool hostPlaying) {
    if (!shown) {
        PaintHiddenSpectrum();
        return;
    }
    AnalyzeSpectrum(analysis, samples, hostPlaying);
    StepSpectrum(view, analysis);
    PaintSpectrum(view);
}

void StepSpectrum(SpectrumDisplayState& view, const SpectrumAnalysisState& analysis) {
    // The tops of the bars and the bass indicator from the reals, then the
    // peak marks.
    const X87Environment caller = EnterExtendedPrecision();
    for (int k = 0; k < SpectrumBars; ++k) view.BarTop[k] = SpectrumBarRows - BarHeight(view, BarValue(analysis, k));
    // The bass indicator: the DC magnitude, 40 units a row; 20 gives the tie
    // 0.5 exactly, and 60 just under 1.5.
    const Extended scaled = Extended(analysis.SpectrumRe[1]) * 25 * 0.001L;
    const int bass = SpectrumBarRows - static_cast<int>(std::nearbyint(scaled));
    LeaveExtendedPrecision(caller);
    view.BassTop = bass < 0 ? 0 : bass > SpectrumBarRows ? SpectrumBarRows : bass;

    for (int k = 0; k < SpectrumBars; ++k) MovePeak(view.BarPeak[k], view.BarTop[k]);
    MovePeak(view.BassPeak, view.BassTop);
}

void PaintSpectrum(const SpectrumDisplayState& view) {
    for (int k = 0; k < SpectrumBars; ++k) {
        PaintColumn(BarLeft(k), BarLeft(k) + BarWidth, view.BarPeak[k], view.BarTop[k]);
    }
    PaintColumn(BassColumns.left, BassColumns.right, view.BassPeak, view.BassTop);
}
