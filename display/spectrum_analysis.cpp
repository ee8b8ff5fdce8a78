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

    int slots = 0;
    for (bool& flag : analysis.SlotIsMagnitude) flag = false;
    for (int k = 0; k < SpectrumBars; ++k) {
        const int slot = analysis.BarBinTable[k];
        if (slot < SpectrumBars) analysis.SlotIsMagnitude[slot] = true;
        bool seen = false;
        for (int s = 0; s < slots && !seen; ++s) seen = analysis.MagnitudeSlots[s] == slot;
        if (!seen) analysis.MagnitudeSlots[slots++] = slot;
    }
    analysis.MagnitudeSlotCount = slots;
}

}  // namespace

void BuildSpectrumTables(SpectrumAnalysisState& analysis) {
    const X87Environment caller = EnterExtendedPrecision();
    for (int32_t& entry : analysis.BarBinTable) entry = 0;
    // Each entry keeps the largest j that rounds to it.
    for (int j = 1; j <= 280; ++j) {
        const int index = static_cast<int>(std::nearbyint(35.0L * std::log(Extended(j)) / std::log(10.0L)));
        analysis.BarBinTable[index] = j;
    }

    for (int k = 1; k <= 9; ++k) {
        const Extended theta = Pi / (1 << (k - 1));
        analysis.TwiddleSin[k] = Stored(-std::sin(theta));
        analysis.TwiddleCos[k] = Stored(std::cos(theta));
    }
    LeaveExtendedPrecision(caller);

    ZeroSlots(analysis.SpectrumRe);
    ZeroSlots(analysis.SpectrumIm);
    analysis.HoldsTransform = false;

    DeriveFrameTables(analysis);
}

void AnalyzeSpectrum(SpectrumAnalysisState& analysis, const WaveformChannels& samples, bool hostPlaying) {
    double* re = analysis.SpectrumRe;
    double* im = analysis.SpectrumIm;
    if (!hostPlaying) {
        ZeroSlots(re);
        analysis.HoldsTransform = false;
        return;
    }

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

    // Each named slot once; slot 0, named 27 times, holds 0 in both parts.
    for (int s = 0; s < analysis.MagnitudeSlotCount; ++s) {
        const int b = analysis.MagnitudeSlots[s];
        const Extended r = re[b], i = im[b];
        re[b] = Stored(std::sqrt(r * r + i * i));
    }
    LeaveExtendedPrecision(caller);
    analysis.HoldsTransform = true;
}
