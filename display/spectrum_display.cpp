#include "display/spectrum_display.h"

#include <cmath>

#include "display/extended_precision.h"
#include "display/masks.h"
#include "display/skin_layout.h"
#include "display/spectrum_analysis.h"

namespace {

constexpr int LowestOffset = SpectrumBarRows - 1;  // a peak mark rests here, on the bottom row

// The mark jumps up to a higher top at once and otherwise falls one row.
void MovePeak(int32_t& peak, int top) {
    if (peak > top) {
        peak = top;
    } else if (peak < LowestOffset) {
        ++peak;
    }
}

// Blackens a column band above the peak mark and between it and the top.
void PaintColumn(int left, int right, int peak, int top, PaintList& paint) {
    paint.Add(left, SpectrumRows.top, right, SpectrumRows.top + peak);
    paint.Add(left, SpectrumRows.top + peak + 1, right, SpectrumRows.top + top);
}

}  // namespace

void ResetSpectrumDisplay(SpectrumDisplayState& view) {
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
                  bool shown, bool hostPlaying, PaintList& paint) {
    if (!shown) {
        PaintHiddenSpectrum(paint);
        return;
    }
    SpectrumValues values;
    AnalyzeSpectrum(analysis, samples, hostPlaying, values);
    StepSpectrum(view, values);
    PaintSpectrum(view, paint);
}

void StepSpectrum(SpectrumDisplayState& view, const SpectrumValues& values) {
    // The tops of the bars and the bass indicator from the values, then the
    // peak marks.
    const X87Environment caller = EnterExtendedPrecision();
    for (int k = 0; k < SpectrumBars; ++k) view.BarTop[k] = SpectrumBarRows - BarHeight(view, values.bars[k]);
    // The bass indicator: the DC magnitude, 40 units a row; 20 gives the tie
    // 0.5 exactly, and 60 just under 1.5.
    const Extended scaled = Extended(values.dc) * 25 * 0.001L;
    const int bass = SpectrumBarRows - static_cast<int>(std::nearbyint(scaled));
    LeaveExtendedPrecision(caller);
    view.BassTop = bass < 0 ? 0 : bass > SpectrumBarRows ? SpectrumBarRows : bass;

    for (int k = 0; k < SpectrumBars; ++k) MovePeak(view.BarPeak[k], view.BarTop[k]);
    MovePeak(view.BassPeak, view.BassTop);
}

void PaintSpectrum(const SpectrumDisplayState& view, PaintList& paint) {
    for (int k = 0; k < SpectrumBars; ++k) {
        PaintColumn(BarLeft(k), BarLeft(k) + BarWidth, view.BarPeak[k], view.BarTop[k], paint);
    }
    PaintColumn(BassColumns.left, BassColumns.right, view.BassPeak, view.BassTop, paint);
}
