// The Deduzodo's spectrum section: 86 bars with falling peak marks and the
// bass indicator, drawn by blackening what is unlit in the spectrum rows.
#pragma once

#include <cstdint>

#include "display/skin_layout.h"
#include "display/spectrum_analysis.h"
#include "plugin/records.h"

struct SpectrumDisplayState {
    // Spectral value at which each bar height is reached.
    int32_t LevelThresholds[SpectrumBarRows] = {};
    // Row offset (0 top .. 24 bottom) of each bar's peak mark.
    int32_t BarPeak[SpectrumBars] = {};
    // Row offset of the bass indicator's peak mark; 0 at load and kept
    // across start-ups.
    int32_t BassPeak = 0;
    // Row offsets of the tops of the bars (0..24) and of the bass indicator
    // (0..25) that the last step found.
    int32_t BarTop[SpectrumBars] = {};
    int32_t BassTop = 0;
};

// Start-up: the thresholds, and every bar's peak mark near the bottom.
void InitSpectrumDisplay(SpectrumDisplayState& view);
// One frame: analyse, step and paint the bars and the bass indicator; hidden,
// only the hidden-spectrum masks, with the analysis and the peaks left alone.
void DrawSpectrum(SpectrumDisplayState& view, SpectrumAnalysisState& analysis, const WaveformChannels& samples,
                  bool shown, bool hostPlaying);
// The bars' and the bass indicator's tops from the last analysis, and their
// peak marks moved.
void StepSpectrum(SpectrumDisplayState& view, const SpectrumAnalysisState& analysis);
// Blackens what the last step left unlit: two fills per bar, then two for
// the bass indicator.
void PaintSpectrum(const SpectrumDisplayState& view);
// Bar height 1..25 for a spectral value.
int BarHeight(const SpectrumDisplayState& view, double value);
