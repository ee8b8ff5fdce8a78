// The Deduzodo's spectrum section: 86 bars with falling peak marks and the
// bass indicator, drawn by blackening what is unlit in rows 7 to 31.
#pragma once

#include <cstdint>

#include "plugin/records.h"

struct SpectrumDisplayState {
    // Spectral value at which each bar height is reached.
    int32_t LevelThresholds[25] = {};
    // Row offset (0 top .. 24 bottom) of each bar's peak mark.
    int32_t BarPeak[86] = {};
    // Row offset of the bass indicator's peak mark; 0 at load and kept
    // across start-ups.
    int32_t BassPeak = 0;
};

extern SpectrumDisplayState SpectrumView;

void InitSpectrumDisplay();
// One frame: analyse, then paint the bars and the bass indicator, or only the
// hidden-spectrum masks while the spectrum is switched off.
void DrawSpectrum(const winampVisModule* module);
// Paints the bars and the bass indicator from the last analysis and moves
// the peaks; DrawSpectrum's second half.
void PaintSpectrum();
// Bar height 1..25 for a spectral value.
int BarHeight(double value);
