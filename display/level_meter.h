// The stereo level meter: two bars growing outwards from the middle, with a
// shared peak mark that jumps out with the level and falls back slowly.
#pragma once

#include <cstdint>

#include "display/paint_list.h"
#include "display/skin_layout.h"
#include "plugin/records.h"

struct LevelMeterState {
    uint8_t Level = 0;
    uint8_t LevelPeak = 1;
    // Slots 1 to 3 are the ring of recent raw levels; slot 0 is never read.
    int32_t LevelHistory[4] = {};
    int32_t LevelFrameIndex = 0;
    int32_t DecibelTable[131] = {};
    // What each channel's step (0 left, 1 right) left to paint: the peak
    // mark's and the smoothed level's distance from the bar's inner end.
    uint8_t DrawnPeak[2] = {};
    uint8_t DrawnLevel[2] = {};
};

// Start-up: the decibel table and the meter at rest.
void ResetLevelMeter(LevelMeterState& meter);
// The meter's share of a frame. The history ring moves on by one slot; shown,
// both channels are stepped through level, peak hold and smoothing and what
// is unlit of both bars in the band's rows is added to paint; hidden, both
// bars are masked and the meter keeps its state.
void DrawLevelMeter(LevelMeterState& meter, const WaveformChannels& samples, bool shown, Rows band, PaintList& paint);
