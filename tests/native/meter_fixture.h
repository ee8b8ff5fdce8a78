// Shared set-up for the signal display tests: a level meter as start-up
// leaves it, a module record with chosen samples, and one frame's painted
// rectangles.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "display/level_meter.h"
#include "plugin/records.h"
#include "tests/native/paint_recorder.h"

class MeterTest : public ::testing::Test {
protected:
    winampVisModule record{};
    LevelMeterState meter;
    bool meterShown = true;

    void SetUp() override {
        ResetLevelMeter(meter);
        ClearPainted();
    }

    void FillChannel(int channel, unsigned char value) {
        std::memset(record.waveformData[channel], value, sizeof record.waveformData[channel]);
    }
    void FillBoth(unsigned char value) {
        FillChannel(0, value);
        FillChannel(1, value);
    }

    // One frame of the level meter in the given band: advance, then meter.
    std::vector<PaintedRect> MeterFrame(Rows band = DeduzodoSkin.levelBand) {
        ClearPainted();
        AdvanceLevelFrame(meter);
        LevelMeter(meter, record.waveformData, meterShown, band);
        return PaintedRects();
    }
};
