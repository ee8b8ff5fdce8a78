// The 512-point transform that AnalyzeSpectrum runs, in its pieces, working
// on the arrays of SpectrumAnalysisState.
#pragma once

#include "display/spectrum_analysis.h"

// Builds the bit-reversal exchanges and each stage's twiddles from
// TwiddleCos and TwiddleSin.
void DeriveTransformTables(SpectrumAnalysisState& analysis);
// Puts slots 1..N of one array into bit-reversed order.
void ReverseSlotOrder(const SpectrumAnalysisState& analysis, double* slots);
// The butterfly stages on slots already in bit-reversed order, run between
// EnterExtendedPrecision and LeaveExtendedPrecision.
void RunButterflyStages(SpectrumAnalysisState& analysis);
