#include "display/spectrum_analysis.h"

#include <cmath>

#include "plugin/plugin_state.h"

SpectrumAnalysisState Analysis;

namespace {

constexpr double Pi = 3.14159265358979323846;

void ZeroSlots(double* slots) {
    for (int i = 0; i < SpectrumSlots; ++i) slots[i] = 0.0;
}

// The negated signed sample: 0x00 gives 0, 0x01 gives -1, 0x80 gives +128.
inline int NegatedSample(unsigned char byte) { return 128 - (byte ^ 0x80); }

// Window weight i / N on the sum of both channels' values at sample i.
inline double WindowedSample(const winampVisModule* module, int i, double weight) {
    return weight * NegatedSample(module->waveformData[0][i]) + weight * NegatedSample(module->waveformData[1][i]);
}

}  // namespace

void BuildSpectrumTables() {
    for (int32_t& entry : Analysis.BarBinTable) entry = 0;
    // Each entry keeps the largest j that rounds to it.
    for (int j = 1; j <= 280; ++j) {
        const int index = static_cast<int>(std::nearbyint(35.0 * std::log(double(j)) / std::log(10.0)));
        Analysis.BarBinTable[index] = j;
    }
    for (bool& flag : Analysis.SlotIsMagnitude) flag = false;
    for (int k = 0; k < SpectrumBars; ++k) {
        const int slot = Analysis.BarBinTable[k];
        if (slot < SpectrumBars) Analysis.SlotIsMagnitude[slot] = true;
    }

    for (int k = 1; k <= 9; ++k) {
        const double theta = Pi / double(1 << (k - 1));
        Analysis.TwiddleSin[k] = -std::sin(theta);
        Analysis.TwiddleCos[k] = std::cos(theta);
    }

    ZeroSlots(Analysis.SpectrumRe);
    ZeroSlots(Analysis.SpectrumIm);
    Analysis.HoldsTransform = false;

    Analysis.FftSize = 512;
    Analysis.FftStages = 9;
}

void AnalyzeSpectrum(const winampVisModule* module) {
    double* re = Analysis.SpectrumRe;
    if (!Plugin.HostPlaying) {
        ZeroSlots(re);
        Analysis.HoldsTransform = false;
        return;
    }

    // Slot m gets min(m, N - m) / N times the sum at sample m; sample 0 lands
    // in slot 0, outside the transform, with weight 0.
    const int n = Analysis.FftSize;
    for (int i = 0; i <= n / 2; ++i) {
        const double weight = double(i) / n;
        re[i] = WindowedSample(module, i, weight);
        re[n - i] = WindowedSample(module, n - i, weight);
    }
    ZeroSlots(Analysis.SpectrumIm);

    ComputeFft();

    const double* im = Analysis.SpectrumIm;
    for (int k = 0; k < SpectrumBars; ++k) {
        const int b = Analysis.BarBinTable[k];
        re[b] = std::sqrt(re[b] * re[b] + im[b] * im[b]);
    }
    Analysis.HoldsTransform = true;
}

void ComputeFft() {
    double* re = Analysis.SpectrumRe;
    double* im = Analysis.SpectrumIm;
    const int n = Analysis.FftSize;

    // Bit-reversal permutation on the one-based slots 1..N.
    int j = 1;
    for (int i = 1; i < n; ++i) {
        if (i < j) {
            const double r = re[i], m = im[i];
            re[i] = re[j];
            im[i] = im[j];
            re[j] = r;
            im[j] = m;
        }
        int k = n / 2;
        while (k < j) {
            j -= k;
            k /= 2;
        }
        j += k;
    }

    // Decimation-in-time butterflies; the twiddle U steps through the stage
    // by the recurrence U = U * W, so no sine or cosine is evaluated here.
    for (int stage = 1; stage <= Analysis.FftStages; ++stage) {
        const int le = 1 << stage;
        const int le1 = le / 2;
        const double wr = Analysis.TwiddleCos[stage];
        const double wi = Analysis.TwiddleSin[stage];
        double ur = 1.0, ui = 0.0;
        for (int first = 1; first <= le1; ++first) {
            for (int i = first; i <= n; i += le) {
                const int ip = i + le1;
                const double tr = re[ip] * ur - im[ip] * ui;
                const double ti = re[ip] * ui + im[ip] * ur;
                re[ip] = re[i] - tr;
                im[ip] = im[i] - ti;
                re[i] = re[i] + tr;
                im[i] = im[i] + ti;
            }
            const double nextR = ur * wr - ui * wi;
            ui = ur * wi + ui * wr;
            ur = nextR;
        }
    }
}
