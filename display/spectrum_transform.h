// The pieces of the 512-point transform that AnalyzeSpectrum and ComputeFft
// share, working on the arrays of SpectrumAnalysisState.
#pragma once

// Builds the bit-reversal exchanges and each stage's twiddles from FftSize,
// FftStages, TwiddleCos and TwiddleSin.
void DeriveTransformTables();
// Puts slots 1..N of one array into bit-reversed order.
void ReverseSlotOrder(double* slots);
// The butterfly stages on slots already in bit-reversed order, run between
// EnterExtendedPrecision and LeaveExtendedPrecision.
void RunButterflyStages();
