// The Deduzodo's spectrum: both channels summed, weighted with a triangular
// window and put through an in-place 512-point radix-2 transform, then
// magnitudes for the slots that the bars name.
#pragma once

#include <cstdint>

#include "display/skin_layout.h"
#include "plugin/records.h"

constexpr int SpectrumSlots = 521;  // slot 0, transform slots 1..512, 513..520 always 0
// The transform's length and its number of butterfly stages.
constexpr int FftSize = 512;
constexpr int FftStages = 9;

// Reals are stored as doubles; the arithmetic between stores is extended.
struct SpectrumAnalysisState {
    // Slot m holds time sample m - 1 on input and frequency bin m - 1 on
    // output (one-based transform slots); slot 0 lies outside the transform.
    double SpectrumRe[SpectrumSlots] = {};
    double SpectrumIm[SpectrumSlots] = {};
    // Per stage 1..9: cos and negated sin of pi / 2^(stage - 1); entry 0 unused.
    double TwiddleCos[10] = {};
    double TwiddleSin[10] = {};
    // For bar k the slot whose real part the magnitude pass replaces.
    int32_t BarBinTable[87] = {};

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
    // The distinct slots that BarBinTable names, 60 of them.
    int32_t MagnitudeSlots[SpectrumBars] = {};
    int32_t MagnitudeSlotCount = 0;
    // SlotIsMagnitude[k]: slot k (k < 86) is among the slots BarBinTable
    // names, so after an analysis SpectrumRe[k] holds a magnitude.
    bool SlotIsMagnitude[SpectrumBars] = {};
    // True when the arrays hold the transform of the last analysis; false
    // after start-up and after an analysis with HostPlaying false, when
    // SpectrumRe is all 0 and SpectrumIm holds a stale transform.
    bool HoldsTransform = false;
};

// Start-up: the tables, and both arrays zeroed.
void BuildSpectrumTables(SpectrumAnalysisState& analysis);
// One frame's spectrum of the samples while the player plays; otherwise
// SpectrumRe becomes all 0 and SpectrumIm keeps the last transform.
void AnalyzeSpectrum(SpectrumAnalysisState& analysis, const WaveformChannels& samples, bool hostPlaying);
