// The Deduzodo's spectrum: both channels summed, weighted with a triangular
// window and put through an in-place 512-point radix-2 transform, then
// magnitudes for the slots that the bars name.
#pragma once

#include <cstdint>

#include "plugin/records.h"

constexpr int SpectrumSlots = 521;  // slot 0, transform slots 1..512, 513..520 always 0
constexpr int SpectrumBars = 86;
constexpr int MaxFftSize = 512;

// Reals are stored as doubles; the arithmetic between stores is extended.
struct SpectrumAnalysisState {
    int32_t FftSize = 0;
    int32_t FftStages = 0;
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
    double WindowWeight[MaxFftSize + 1] = {};
    // The stage with half length h uses StageTwiddleRe/Im[h .. 2h - 1]: the
    // twiddle U for j = 1..h, as the recurrence U = U * W from U = 1 gives it.
    double StageTwiddleRe[MaxFftSize] = {};
    double StageTwiddleIm[MaxFftSize] = {};
    // The exchanges of the bit-reversal permutation, in order.
    int16_t SwapSlots[MaxFftSize][2] = {};
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

extern SpectrumAnalysisState Analysis;

void BuildSpectrumTables();
void AnalyzeSpectrum(const winampVisModule* module);
void ComputeFft();
