// The per-frame path allocates nothing.
#include <gtest/gtest.h>

#include "tests/native/alloc_counter.h"
#include "tests/native/meter_fixture.h"

TEST_F(MeterTest, LevelMeterFramesAllocateNothing) {
    FillChannel(0, 0x80);
    FillChannel(1, 0x13);
    const long before = AllocationCount();
    for (int frame = 0; frame < 10000; ++frame) {
        ClearPainted();
        AdvanceLevelFrame();
        LevelMeter(&record, AnalyzerBandTop, AnalyzerBandBottom);
        if (frame % 100 == 0) Plugin.DisplayFlags ^= ShowLevelMeter;
    }
    EXPECT_EQ(AllocationCount() - before, 0);
    // The counter does see allocations.
    int* volatile probe = new int(3);
    delete probe;
    EXPECT_GT(AllocationCount() - before, 0);
}
