#include "display/spectrum_analysis.h"

#include <cmath>

#include "display/extended_precision.h"
#include "display/spectrum_transform.h"

namespace {

constexpr Extended Pi = 3.14159265358979323846264338327950288L;

void ZeroSlots(double* slots) {
    for (int i = 0; i < SpectrumSlots; ++i) slots[i] = 0.0;
}

// The negated signed sample: 0x00 gives 0, 0x01 gives -1, 0x80 gives +128.
inline int NegatedSample(unsigned char byte) { return 128 - (byte ^ 0x80); }

// Tables that a frame reads instead of working them out again.
void DeriveFrameTables(SpectrumAnalysisState& analysis) {
    const int n = FftSize;
    // w = i / N, exact, for slots i and N - i.
    for (int i = 0; i <= n / 2; ++i) {
        const double weight = Stored(Extended(i) / n);
        analysis.WindowWeight[i] = weight;
        analysis.WindowWeight[n - i] = weight;
    }

    DeriveTransformTables(analysis);
}

}  // namespace

void ResetSpectrumAnalysis(SpectrumAnalysisState& analysis) {
    const X87Environment caller = EnterExtendedPrecision();
    for (int k = 1; k <= 9; ++k) {
        const Extended theta = Pi / (1 << (k - 1));
        analysis.TwiddleSin[k] = Stored(-std::sin(theta));
        analysis.TwiddleCos[k] = Stored(std::cos(theta));
    }
    LeaveExtendedPrecision(caller);

    ZeroSlots(analysis.SpectrumRe);
    ZeroSlots(analysis.SpectrumIm);

    DeriveFrameTables(analysis);
}

void AnalyzeSpectrum(SpectrumAnalysisState& analysis, const WaveformChannels& samples, bool hostPlaying,
                     SpectrumValues& values) {
    if (!hostPlaying) {
        for (double& bar : values.bars) bar = 0.0;
        values.dc = 0.0;
        return;
    }
    double* re = analysis.SpectrumRe;
    double* im = analysis.SpectrumIm;

    const X87Environment caller = EnterExtendedPrecision();
    // Slot m gets its window weight times each channel's value at sample m;
    // sample 0 lands in slot 0, outside the transform, with weight 0.
    const unsigned char* left = samples[0];
    const unsigned char* right = samples[1];
    const double* weight = analysis.WindowWeight;
    for (int m = 0; m <= FftSize; ++m) {
        const Extended w = weight[m];
        re[m] = Stored(w * NegatedSample(left[m]) + w * NegatedSample(right[m]));
    }

    // The transform on a zeroed SpectrumIm; the imaginary parts are zeroed
    // after the bit reversal, which would only exchange zeros.
    ReverseSlotOrder(analysis, re);
    ZeroSlots(im);
    RunButterflyStages(analysis);

    // The magnitudes of slots 0 to 85 and nothing more; slot 0 holds 0 in
    // both parts, and slot 1 is the DC term.
    for (int k = 0; k < SpectrumBars; ++k) {
        const Extended r = re[k], i = im[k];
        values.bars[k] = Stored(std::sqrt(r * r + i * i));
    }
    values.dc = values.bars[1];
    LeaveExtendedPrecision(caller);
}
