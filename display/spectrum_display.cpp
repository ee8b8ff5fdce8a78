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

// The threshold table's row for a spectral value j: 5.3 log10(j) rounded to
// nearest, in extended precision.
constexpr int32_t MaxThresholdSample = 35000;
int RowIndex(int32_t j) { return static_cast<int>(std::nearbyint(5.3L * std::log(Extended(j)) / std::log(10.0L))); }

}  // namespace

void ResetSpectrumDisplay(SpectrumDisplayState& view) {
    // Entry i keeps the largest j in 1..35000 whose RowIndex is i (0 when
    // none is). RowIndex never falls as j grows, so that j is the last one
    // at or below i, found by bisection: about 16 logarithms an entry
    // instead of 35000 at every start-up, with the same values.
    int32_t* thresholds = view.LevelThresholds;
    const X87Environment caller = EnterExtendedPrecision();
    int32_t below = 0;  // the last j of the entries before i, 0 before any
    for (int i = 0; i < SpectrumBarRows; ++i) {
        int32_t low = below, high = MaxThresholdSample + 1;  // RowIndex(low) <= i < RowIndex(high)
        while (high - low > 1) {
            const int32_t middle = low + (high - low) / 2;
            if (RowIndex(middle) <= i) {
                low = middle;
            } else {
                high = middle;
            }
        }
        // Where the search stayed at its start, no j reaches entry i.
        thresholds[i] = low > below ? low : 0;
        below = low;
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
