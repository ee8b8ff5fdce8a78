#include "display/spectrum_analysis.h"

#include <cmath>

#include "display/extended_precision.h"
#include "display/spectrum_transform.h"
#include "plugin/plugin_state.h"

SpectrumAnalysisState Analysis;

namespace {

constexpr Extended Pi = 3.14159265358979323846264338327950288L;

void ZeroSlots(double* slots) {
    for (int i = 0; i < SpectrumSlots; ++i) slots[i] = 0.0;
}

// The negated signed sample: 0x00 gives 0, 0x01 gives -1, 0x80 gives +128.
inline int NegatedSample(unsigned char byte) { return 128 - (byte ^ 0x80); }

// Tables that a frame reads instead of working them out again.
void DeriveFrameTables() {
    const int n = Analysis.FftSize;
    // w = i / N, exact, for slots i and N - i.
    for (int i = 0; i <= n / 2; ++i) {
        const double weight = Stored(Extended(i) / n);
        Analysis.WindowWeight[i] = weight;
        Analysis.WindowWeight[n - i] = weight;
    }

    DeriveTransformTables();

    int slots = 0;
    for (bool& flag : Analysis.SlotIsMagnitude) flag = false;
    for (int k = 0; k < SpectrumBars; ++k) {
        const int slot = Analysis.BarBinTable[k];
        if (slot < SpectrumBars) Analysis.SlotIsMagnitude[slot] = true;
        bool seen = false;
        for (int s = 0; s < slots && !seen; ++s) seen = Analysis.MagnitudeSlots[s] == slot;
        if (!seen) Analysis.MagnitudeSlots[slots++] = slot;
    }
    Analysis.MagnitudeSlotCount = slots;
}

}  // namespace

void BuildSpectrumTables() {
    const X87Environment caller = EnterExtendedPrecision();
    for (int32_t& entry : Analysis.BarBinTable) entry = 0;
    // Each entry keeps the largest j that rounds to it.
    for (int j = 1; j <= 280; ++j) {
        const int index = static_cast<int>(std::nearbyint(35.0L * std::log(Extended(j)) / std::log(10.0L)));
        Analysis.BarBinTable[index] = j;
    }

    for (int k = 1; k <= 9; ++k) {
        const Extended theta = Pi / (1 << (k - 1));
        Analysis.TwiddleSin[k] = Stored(-std::sin(theta));
        Analysis.TwiddleCos[k] = Stored(std::cos(theta));
    }
    LeaveExtendedPrecision(caller);

    ZeroSlots(Analysis.SpectrumRe);
    ZeroSlots(Analysis.SpectrumIm);
    Analysis.HoldsTransform = false;

    Analysis.FftSize = 512;
    Analysis.FftStages = 9;

    DeriveFrameTables();
}

void AnalyzeSpectrum(const winampVisModule* module) {
    double* re = Analysis.SpectrumRe;
    double* im = Analysis.SpectrumIm;
    if (!Plugin.HostPlaying) {
        ZeroSlots(re);
        Analysis.HoldsTransform = false;
        return;
    }

    const X87Environment caller = EnterExtendedPrecision();
    // Slot m gets its window weight times each channel's value at sample m;
    // sample 0 lands in slot 0, outside the transform, with weight 0.
    const unsigned char* left = module->waveformData[0];
    const unsigned char* right = module->waveformData[1];
    const double* weight = Analysis.WindowWeight;
    for (int m = 0; m <= Analysis.FftSize; ++m) {
        const Extended w = weight[m];
        re[m] = Stored(w * NegatedSample(left[m]) + w * NegatedSample(right[m]));
    }

    // ComputeFft on a zeroed SpectrumIm; the imaginary parts are zeroed after
    // the bit reversal, which would only exchange zeros.
    ReverseSlotOrder(re);
    ZeroSlots(im);
    RunButterflyStages();

    // Each named slot once; slot 0, named 27 times, holds 0 in both parts.
    for (int s = 0; s < Analysis.MagnitudeSlotCount; ++s) {
        const int b = Analysis.MagnitudeSlots[s];
        const Extended r = re[b], i = im[b];
        re[b] = Stored(std::sqrt(r * r + i * i));
    }
    LeaveExtendedPrecision(caller);
    Analysis.HoldsTransform = true;
}
