// The stereo level meter: two bars growing outwards from the middle, with a
// shared peak mark that jumps out with the level and falls back slowly.
#pragma once

#include <cstdint>

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
// Every frame, shown or not, moves the history ring on by one slot.
void AdvanceLevelFrame(LevelMeterState& meter);
// Steps the left channel, then the right one, through level, peak hold and
// smoothing, from the first 256 samples of each.
void StepLevelMeter(LevelMeterState& meter, const WaveformChannels& samples);
// Blackens what the last step left unlit of both bars in the band's rows.
void PaintLevelMeter(const LevelMeterState& meter, Rows band);
// The meter's share of a frame: stepped and painted while shown; hidden, it
// masks both bars and keeps its state.
void LevelMeter(LevelMeterState& meter, const WaveformChannels& samples, bool shown, Rows band);
// Every meter of the module's skin dark, until the first frame.
void PaintStartupMasks(const ModuleSkin& skin);
