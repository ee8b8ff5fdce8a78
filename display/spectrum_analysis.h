// The Deduzodo's spectrum: both channels summed, weighted with a triangular
// window and put through an in-place 512-point radix-2 transform; the result
// is the magnitude that each bar shows.
#pragma once

#include <cstdint>

#include "display/skin_layout.h"
#include "plugin/records.h"

constexpr int SpectrumSlots = 521;  // slot 0, transform slots 1..512, 513..520 always 0
// The transform's length and its number of butterfly stages.
constexpr int FftSize = 512;
constexpr int FftStages = 9;

// What an analysis hands to the display, in raw transform units (0 to
// 32768): for bar k the magnitude of transform slot k, frequency bin k - 1
// (bar 0 stands outside the transform and gets 0), and the magnitude of the
// DC term for the bass indicator. All 0 while the player is not playing.
struct SpectrumValues {
    double bars[SpectrumBars];
    double dc;
};

// The transform's working arrays and tables. Reals are stored as doubles;
// the arithmetic between stores is extended.
struct SpectrumAnalysisState {
    // Slot m holds time sample m - 1 on input and frequency bin m - 1 on
    // output (one-based transform slots); slot 0 lies outside the transform.
    double SpectrumRe[SpectrumSlots] = {};
    double SpectrumIm[SpectrumSlots] = {};
    // Per stage 1..9: cos and negated sin of pi / 2^(stage - 1); entry 0 unused.
    double TwiddleCos[10] = {};
    double TwiddleSin[10] = {};

    // Derived at start-up so that a frame runs straight loops.
    // WindowWeight[m] = min(m, N - m) / N, the triangular window on slot m.
    double WindowWeight[FftSize + 1] = {};
    // The stage with half length h uses StageTwiddleRe/Im[h .. 2h - 1]: the
    // twiddle U for j = 1..h, as the recurrence U = U * W from U = 1 gives it.
    double StageTwiddleRe[FftSize] = {};
    double StageTwiddleIm[FftSize] = {};
    // The exchanges of the bit-reversal permutation, in order.
    int16_t SwapSlots[FftSize][2] = {};
    int32_t SwapCount = 0;
};

// Start-up: the tables, and both arrays zeroed.
void ResetSpectrumAnalysis(SpectrumAnalysisState& analysis);
// One frame's values from the samples while the player plays; otherwise all
// values are 0 and nothing is transformed.
void AnalyzeSpectrum(SpectrumAnalysisState& analysis, const WaveformChannels& samples, bool hostPlaying,
                     SpectrumValues& values);
