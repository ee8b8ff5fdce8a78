#include <gtest/gtest.h>

#include <random>

#include "display/masks.h"
#include "tests/native/meter_fixture.h"

namespace {

constexpr int T = DeduzodoSkin.levelBand.top, B = DeduzodoSkin.levelBand.bottom;

// The four rectangles of one frame when the left step leaves (peakL, levelL)
// and the right step (peakR, levelR).
std::vector<BlackRect> ShownRects(int peakL, int levelL, int peakR, int levelR) {
    const int left = LeftBarInner, right = RightBarInner + 1;  // where the levels count from
    return {{LeftBarOuter, T, left - peakL, B},
            {left + 2 - peakL, T, left - levelL, B},
            {right + peakR, T, RightBarOuter + 1, B},
            {right + levelR, T, right - 2 + peakR, B}};
}

// Columns of the band left lit by a frame's rectangles, centre gap left out.
std::vector<int> LitColumns(const std::vector<BlackRect>& rects) {
    std::vector<int> lit;
    for (int x = LeftBarOuter; x <= RightBarOuter; ++x) {
        if (CentreGap.Contain(x)) continue;
        bool dark = false;
        for (const BlackRect& r : rects) dark |= r.right > r.left && x >= r.left && x < r.right;
        if (!dark) lit.push_back(x);
    }
    return lit;
}

}  // namespace

TEST(DecibelTable, TellingRowsAndShape) {
    LevelMeterState meter;
    ResetLevelMeter(meter);
    const int index[] = {0, 1, 2, 3, 4, 8, 16, 32, 64, 96, 120, 127, 128};
    const int value[] = {0, 2, 20, 30, 38, 56, 74, 92, 110, 121, 126, 128, 128};
    for (int i = 0; i < 13; ++i) EXPECT_EQ(meter.DecibelTable[index[i]], value[i]) << "entry " << index[i];
    for (int i = 2; i <= 130; ++i) EXPECT_GE(meter.DecibelTable[i], meter.DecibelTable[i - 1]) << i;
    EXPECT_EQ(meter.DecibelTable[129], 128);
    EXPECT_EQ(meter.DecibelTable[130], 128);
    // Halving the mean amplitude lowers the level by 18 or 19.
    for (int i = 2; i <= 128; i += 2) {
        const int drop = meter.DecibelTable[i] - meter.DecibelTable[i / 2];
        EXPECT_TRUE(drop == 18 || drop == 19) << "i " << i << " drop " << drop;
    }
}

TEST_F(MeterTest, ResetGivesStartupState) {
    meter.Level = 50;
    meter.LevelPeak = 90;
    meter.LevelHistory[2] = 7;
    meter.LevelFrameIndex = 3;
    ResetLevelMeter(meter);
    EXPECT_EQ(meter.Level, 0);
    EXPECT_EQ(meter.LevelPeak, 1);
    EXPECT_EQ(meter.LevelFrameIndex, 0);
    EXPECT_EQ(meter.LevelHistory[1] + meter.LevelHistory[2] + meter.LevelHistory[3], 0);
}

TEST_F(MeterTest, SilenceFirstFrameLiftsPeakToFloor) {
    FillBoth(0x00);
    // The peak step takes 1 to 0, the floor lifts it to 2.
    EXPECT_EQ(MeterFrame(), ShownRects(2, 0, 2, 0));
    EXPECT_EQ(meter.LevelPeak, 2);
    EXPECT_EQ(meter.Level, 0);
    for (int frame = 0; frame < 5; ++frame) {
        const std::vector<BlackRect> rects = MeterFrame();
        EXPECT_EQ(rects, ShownRects(2, 0, 2, 0));
        EXPECT_EQ(LitColumns(rects), (std::vector<int>{LeftBarInner - 2, LeftBarInner - 1, LeftBarInner, RightBarInner,
                                                       RightBarInner + 1, RightBarInner + 2}));
    }
}

class ExtremeBytes : public MeterTest, public ::testing::WithParamInterface<unsigned char> {};

TEST_P(ExtremeBytes, GiveFullLevel) {
    FillChannel(0, GetParam());
    FillChannel(1, 0x00);
    MeterFrame();
    // The left channel's raw level 128 set the peak; the silent right step lowered it by one.
    EXPECT_EQ(meter.LevelPeak, 127);
}

INSTANTIATE_TEST_SUITE_P(SignedMinimumAndMaximum, ExtremeBytes, ::testing::Values(0x80, 0x7F));

TEST_F(MeterTest, FullScaleFromFirstFrame) {
    FillBoth(0x80);
    EXPECT_EQ(MeterFrame(), ShownRects(128, 42, 127, 42));
    EXPECT_EQ(MeterFrame(), ShownRects(128, 85, 127, 85));
    const std::vector<BlackRect> third = MeterFrame();
    EXPECT_EQ(third, ShownRects(128, 128, 127, 128));
    std::vector<int> lit = LitColumns(third);
    // Left peak mark at the bar's two outermost columns, the right one a column further in.
    EXPECT_EQ(lit.front(), LeftBarOuter);
    EXPECT_EQ(lit.back(), RightBarOuter - 1);
}

TEST_F(MeterTest, SteadyLevelOnBothChannels) {
    FillBoth(0x10);  // mean amplitude 16, level 74
    MeterFrame();
    MeterFrame();
    const std::vector<BlackRect> rects = MeterFrame();
    EXPECT_EQ(rects, ShownRects(74, 74, 73, 74));
    // The right bar ends at its peak mark.
    std::vector<int> lit = LitColumns(rects);
    EXPECT_EQ(lit.back(), RightBarInner + 73);
    EXPECT_EQ(lit.front(), LeftBarInner - 74);
}

TEST_F(MeterTest, LeftFullRightSilent) {
    FillChannel(0, 0x80);
    FillChannel(1, 0x00);
    for (int frame = 0; frame < 6; ++frame) {
        EXPECT_EQ(MeterFrame(), ShownRects(128, 42, 127, 0)) << "frame " << frame;
    }
}

TEST_F(MeterTest, FallAfterFullScaleStops) {
    FillBoth(0x80);
    for (int frame = 0; frame < 4; ++frame) MeterFrame();
    FillBoth(0x00);
    EXPECT_EQ(MeterFrame(), ShownRects(126, 85, 125, 85));
    EXPECT_EQ(MeterFrame(), ShownRects(124, 42, 123, 42));
    EXPECT_EQ(MeterFrame(), ShownRects(122, 0, 121, 0));
    int frames = 3;
    while (meter.LevelPeak > 2 && frames < 100) {
        MeterFrame();
        ++frames;
    }
    EXPECT_EQ(frames, 63);  // 2 per frame from 127 down to the floor
    EXPECT_EQ(MeterFrame(), ShownRects(2, 0, 2, 0));
}

TEST_F(MeterTest, HiddenMeterHoldsStateAndResumes) {
    FillBoth(0x80);
    MeterFrame();
    MeterFrame();
    const LevelMeterState held = meter;

    meterShown = false;
    for (int frame = 0; frame < 4; ++frame) {
        EXPECT_EQ(MeterFrame(), (std::vector<BlackRect>{{7, T, 136, B}, {139, T, 268, B}}));
    }
    EXPECT_EQ(meter.Level, held.Level);
    EXPECT_EQ(meter.LevelPeak, held.LevelPeak);
    for (int slot = 1; slot <= 3; ++slot) EXPECT_EQ(meter.LevelHistory[slot], held.LevelHistory[slot]);
    EXPECT_EQ(meter.LevelFrameIndex, 3);  // 2 frames shown, then 4 hidden: 1 2 | 3 1 2 3

    meterShown = true;
    FillBoth(0x00);
    // Slot 1 is written next; slots 2 and 3 still hold the full-scale levels.
    EXPECT_EQ(MeterFrame(), ShownRects(126, 42, 125, 42));
}

TEST_F(MeterTest, FrameIndexRunsOneToThree) {
    meterShown = false;
    const int expected[] = {1, 2, 3, 1, 2, 3, 1};
    for (int want : expected) {
        MeterFrame();
        EXPECT_EQ(meter.LevelFrameIndex, want);
    }
}

TEST_F(MeterTest, InnermostColumnsNeverPaintedWhileShown) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255), mode(0, 3);
    for (int frame = 0; frame < 2000; ++frame) {
        for (int c = 0; c < 2; ++c) {
            const int kind = mode(random);
            for (int i = 0; i < WaveformSamples; ++i) {
                const int noise = byte(random);
                record.waveformData[c][i] = static_cast<unsigned char>(kind == 0   ? 0
                                                                       : kind == 1 ? (noise & 0x0F)
                                                                       : kind == 2 ? (i & 1 ? 0x80 : 0x7F)
                                                                                   : noise);
            }
        }
        for (const BlackRect& r : MeterFrame()) {
            if (r.right <= r.left) continue;
            EXPECT_FALSE(r.left <= LeftBarInner && LeftBarInner < r.right) << r;
            EXPECT_FALSE(r.left <= RightBarInner && RightBarInner < r.right) << r;
            EXPECT_GE(r.left, LeftBarOuter);
            EXPECT_LE(r.right, RightBarOuter + 1);
        }
    }
}

// The worked examples, in the Deduzodo's band: the left step leaves peak 80
// and level 60 (raw 59 from mean 9, history 60 and 61).
TEST_F(MeterTest, PaintingExampleLeft) {
    FillChannel(0, 0x09);
    FillChannel(1, 0x00);
    meter.LevelPeak = 81;
    meter.LevelHistory[2] = 60;
    meter.LevelHistory[3] = 61;
    std::vector<BlackRect> rects = MeterFrame();
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[0], (BlackRect{7, 33, 55, 39}));
    EXPECT_EQ(rects[1], (BlackRect{57, 33, 75, 39}));
}

// The right step leaves peak 100 and level 20 (silence, history 30 and 30),
// in the band of either module.
class PaintingExampleRight : public MeterTest, public ::testing::WithParamInterface<ModuleSkin> {};

TEST_P(PaintingExampleRight, SameColumnsInEitherBand) {
    const Rows band = GetParam().levelBand;
    FillBoth(0x00);
    meter.LevelPeak = 102;
    meter.LevelHistory[2] = 30;
    meter.LevelHistory[3] = 30;
    const std::vector<BlackRect> rects = MeterFrame(band);
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[2], (BlackRect{240, band.top, 268, band.bottom}));
    EXPECT_EQ(rects[3], (BlackRect{160, band.top, 238, band.bottom}));
}

INSTANTIATE_TEST_SUITE_P(Modules, PaintingExampleRight, ::testing::Values(DeduzodoSkin, VuMeterSkin),
                         [](const ::testing::TestParamInfo<ModuleSkin>& test) {
                             return std::string(test.param.bitmap);
                         });

TEST(StartupMasks, FollowTheSkin) {
    PaintList vuMeter, deduzodo;
    PaintStartupMasks(VuMeterSkin, vuMeter);
    EXPECT_EQ(Rects(vuMeter), (std::vector<BlackRect>{{7, 5, 136, 11}, {139, 5, 268, 11}}));
    PaintStartupMasks(DeduzodoSkin, deduzodo);
    EXPECT_EQ(Rects(deduzodo),
              (std::vector<BlackRect>{{14, 7, 268, 32}, {7, 7, 10, 32}, {7, 33, 136, 39}, {139, 33, 268, 39}}));
}
