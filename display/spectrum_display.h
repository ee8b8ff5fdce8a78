// The Deduzodo's spectrum section: 86 bars with falling peak marks and the
// bass indicator, drawn by blackening what is unlit in the spectrum rows.
#pragma once

#include <cstdint>

#include "display/paint_list.h"
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
void ResetSpectrumDisplay(SpectrumDisplayState& view);
// The spectrum's share of a frame: analyse, step, and add what is unlit of
// the bars and the bass indicator to paint; hidden, only the hidden-spectrum
// masks, with nothing analysed and the peaks left alone.
void DrawSpectrum(SpectrumDisplayState& view, SpectrumAnalysisState& analysis, const WaveformChannels& samples,
                  bool shown, bool hostPlaying, PaintList& paint);
// The bars' and the bass indicator's tops from one analysis's values, and
// their peak marks moved.
void StepSpectrum(SpectrumDisplayState& view, const SpectrumValues& values);
// Adds what the last step left unlit: two rectangles per bar, then two for
// the bass indicator.
void PaintSpectrum(const SpectrumDisplayState& view, PaintList& paint);
// Bar height 1..25 for a spectral value.
int BarHeight(const SpectrumDisplayState& view, double value);
