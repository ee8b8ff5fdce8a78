// Shared set-up for the signal display tests: a level meter as start-up
// leaves it, a module record with chosen samples, and one frame's rectangles.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <vector>

#include "display/level_meter.h"
#include "display/paint_list.h"
#include "plugin/records.h"

inline bool operator==(const BlackRect& a, const BlackRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& out, const BlackRect& rect) {
    return out << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << ")";
}

inline std::vector<BlackRect> Rects(const PaintList& paint) {
    return std::vector<BlackRect>(paint.rects, paint.rects + paint.count);
}

class MeterTest : public ::testing::Test {
protected:
    winampVisModule record{};
    LevelMeterState meter;
    bool meterShown = true;

    void SetUp() override { ResetLevelMeter(meter); }

    void FillChannel(int channel, unsigned char value) {
        std::memset(record.waveformData[channel], value, sizeof record.waveformData[channel]);
    }
    void FillBoth(unsigned char value) {
        FillChannel(0, value);
        FillChannel(1, value);
    }

    // One frame of the level meter in the given band.
    std::vector<BlackRect> MeterFrame(Rows band = DeduzodoSkin.levelBand) {
        PaintList paint;
        DrawLevelMeter(meter, record.waveformData, meterShown, band, paint);
        return Rects(paint);
    }
};
