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
};

extern LevelMeterState Meter;

void AdvanceLevelFrame();
void LevelMeter(const winampVisModule* module, Rows band);
void ResetLevelMeter();
void PaintStartupMasks();
