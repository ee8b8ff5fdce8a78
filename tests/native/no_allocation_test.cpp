// The per-frame path allocates nothing.
#include <gtest/gtest.h>

#include "tests/native/alloc_counter.h"
#include "tests/native/meter_fixture.h"
#include "tests/native/spectrum_fixture.h"

TEST_F(MeterTest, LevelMeterFramesAllocateNothing) {
    FillChannel(0, 0x80);
    FillChannel(1, 0x13);
    const long before = AllocationCount();
    for (int frame = 0; frame < 10000; ++frame) {
        PaintList paint;
        DrawLevelMeter(meter, record.waveformData, meterShown, DeduzodoSkin.levelBand, paint);
        if (frame % 100 == 0) meterShown = !meterShown;
    }
    EXPECT_EQ(AllocationCount() - before, 0);
    // The counter does see allocations.
    int* volatile probe = new int(3);
    delete probe;
    EXPECT_GT(AllocationCount() - before, 0);
}

// The Deduzodo's whole signal display, playing and not, shown and hidden.
TEST_F(SpectrumTest, DeduzodoFramesAllocateNothing) {
    FillWave([](int n) { return 70.0 * std::sin(TwoPi * 12 * n / 512) + 40.0 * std::cos(TwoPi * 90 * n / 512); });
    const long before = AllocationCount();
    int fills = 0;
    for (int frame = 0; frame < 5000; ++frame) {
        playing = frame % 50 < 40;
        spectrumShown = frame % 300 < 250;
        record.waveformData[frame % 2][frame % WaveformSamples] ^= 0x5A;
        PaintList paint;
        DrawLevelMeter(meter, record.waveformData, true, DeduzodoSkin.levelBand, paint);
        DrawSpectrum(view, analysis, record.waveformData, spectrumShown, playing, paint);
        fills += paint.count;
    }
    EXPECT_EQ(AllocationCount() - before, 0);
    EXPECT_GT(fills, 5000 * 4);  // the frames did paint
}
