#include "display/spectrum_transform.h"

#include "display/extended_precision.h"
#include "display/spectrum_analysis.h"

namespace {

// T = Y * U; Y = X - T; X = X + T. Each product sum in extended precision,
// T and the four results stored, as the slots and T are held between steps.
inline void Butterfly(double& xr, double& xi, double& yr, double& yi, double ur, double ui) {
    const double tr = Stored(Extended(yr) * ur - Extended(yi) * ui);
    const double ti = Stored(Extended(yr) * ui + Extended(yi) * ur);
    yr = Stored(Extended(xr) - tr);
    yi = Stored(Extended(xi) - ti);
    xr = Stored(Extended(xr) + tr);
    xi = Stored(Extended(xi) + ti);
}

// One decimation-in-time stage on slots 1..n: each block of 2 * Half slots
// pairs offset j with j + Half under the stage's twiddle U for j. The pairs
// are disjoint, so the order in which they run changes no value; a fixed
// Half lets the compiler unroll the inner loop.
template <int Half>
void OneStage(double* __restrict re, double* __restrict im, int n, const double* __restrict ur,
              const double* __restrict ui) {
    for (int block = 1; block <= n; block += 2 * Half) {
        double* xr = re + block;
        double* xi = im + block;
        for (int j = 0; j < Half; ++j) {
            Butterfly(xr[j], xi[j], xr[j + Half], xi[j + Half], ur[j], ui[j]);
        }
    }
}

// The stage with half length Half and the next one, over each four slots
// that they combine, loaded once: the same butterflies with the same
// operands as two OneStage passes, with half the loads and stores.
template <int Half>
void TwoStages(double* __restrict re, double* __restrict im, int n, const double* __restrict ur,
               const double* __restrict ui) {
    const double* __restrict vr = ur + Half;  // the next stage's twiddles
    const double* __restrict vi = ui + Half;
    for (int block = 1; block <= n; block += 4 * Half) {
        double* r = re + block;
        double* i = im + block;
        for (int j = 0; j < Half; ++j) {
            double ar = r[j], ai = i[j], br = r[j + Half], bi = i[j + Half];
            double cr = r[j + 2 * Half], ci = i[j + 2 * Half], dr = r[j + 3 * Half], di = i[j + 3 * Half];
            Butterfly(ar, ai, br, bi, ur[j], ui[j]);
            Butterfly(cr, ci, dr, di, ur[j], ui[j]);
            Butterfly(ar, ai, cr, ci, vr[j], vi[j]);
            Butterfly(br, bi, dr, di, vr[j + Half], vi[j + Half]);
            r[j] = ar;
            i[j] = ai;
            r[j + Half] = br;
            i[j + Half] = bi;
            r[j + 2 * Half] = cr;
            i[j + 2 * Half] = ci;
            r[j + 3 * Half] = dr;
            i[j + 3 * Half] = di;
        }
    }
}

// Indexed by the (first) stage; a stage's twiddles start at its half length.
using StageFunction = void (*)(double*, double*, int, const double*, const double*);
constexpr StageFunction SingleStage[10] = {nullptr,      OneStage<1>,  OneStage<2>,  OneStage<4>,   OneStage<8>,
                                           OneStage<16>, OneStage<32>, OneStage<64>, OneStage<128>, OneStage<256>};
constexpr StageFunction StagePair[9] = {nullptr,       TwoStages<1>,  TwoStages<2>,  TwoStages<4>,  TwoStages<8>,
                                        TwoStages<16>, TwoStages<32>, TwoStages<64>, TwoStages<128>};

}  // namespace

void DeriveTransformTables(SpectrumAnalysisState& analysis) {
    const int n = FftSize;

    // The exchanges of the bit-reversal walk: j steps through the reversed
    // indices, and slot i is exchanged with slot j where i < j.
    int count = 0;
    int j = 1;
    for (int i = 1; i < n; ++i) {
        if (i < j) {
            analysis.SwapSlots[count][0] = static_cast<int16_t>(i);
            analysis.SwapSlots[count][1] = static_cast<int16_t>(j);
            ++count;
        }
        int k = n / 2;
        while (k < j) {
            j -= k;
            k /= 2;
        }
        j += k;
    }
    analysis.SwapCount = count;

    // Per stage, U = 1 + 0i stepped by U = U * W with W = e^(-i pi / half);
    // U is stored after every step.
    const X87Environment caller = EnterExtendedPrecision();
    for (int stage = 1; stage <= FftStages; ++stage) {
        const int half = 1 << (stage - 1);
        const Extended wr = analysis.TwiddleCos[stage];
        const Extended wi = analysis.TwiddleSin[stage];
        double ur = 1.0, ui = 0.0;
        for (int step = 0; step < half; ++step) {
            analysis.StageTwiddleRe[half + step] = ur;
            analysis.StageTwiddleIm[half + step] = ui;
            const double nextR = Stored(ur * wr - ui * wi);
            ui = Stored(ur * wi + ui * wr);
            ur = nextR;
        }
    }
    LeaveExtendedPrecision(caller);
}

void ReverseSlotOrder(const SpectrumAnalysisState& analysis, double* slots) {
    for (int s = 0; s < analysis.SwapCount; ++s) {
        const int i = analysis.SwapSlots[s][0], j = analysis.SwapSlots[s][1];
        const double held = slots[i];
        slots[i] = slots[j];
        slots[j] = held;
    }
}

void RunButterflyStages(SpectrumAnalysisState& analysis) {
    // Stages 1 to FftStages, two at a time while two are left.
    for (int stage = 1; stage <= FftStages;) {
        const int half = 1 << (stage - 1);
        const bool pair = stage < FftStages;
        (pair ? StagePair : SingleStage)[stage](analysis.SpectrumRe, analysis.SpectrumIm, FftSize,
                                                analysis.StageTwiddleRe + half, analysis.StageTwiddleIm + half);
        stage += pair ? 2 : 1;
    }
}
