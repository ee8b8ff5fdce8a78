#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/native/spectrum_fixture.h"

namespace {

constexpr int Top = SpectrumRows.top;
constexpr int Bass = SpectrumBars;  // the bass indicator's fills follow the bars'

// Top offset t of bar k (or of the bass indicator) from the bottom of its
// second fill, which is row t.
int TopOffset(const std::vector<BlackRect>& rects, int k) { return rects[2 * k + 1].bottom - Top; }

// The two fills of a column from left to right with peak p and top t.
std::vector<BlackRect> ColumnFills(int left, int right, int peak, int top) {
    return {{left, Top, right, Top + peak}, {left, Top + peak + 1, right, Top + top}};
}
std::vector<BlackRect> BarColumnFills(int k, int peak, int top) {
    return ColumnFills(BarLeft(k), BarLeft(k) + BarWidth, peak, top);
}
std::vector<BlackRect> BassColumnFills(int peak, int top) {
    return ColumnFills(BassColumns.left, BassColumns.right, peak, top);
}

std::vector<BlackRect> BarFills(const std::vector<BlackRect>& rects, int k) { return {rects[2 * k], rects[2 * k + 1]}; }

}  // namespace

TEST_F(SpectrumTest, BarHeightThresholds) {
    const struct {
        double value;
        int height;
    } cases[] = {{-5.0, 1},   {0.0, 1},       {199.99, 1},   {200.0, 12},    {227.99, 12},  {228.0, 13}, {351.9, 13},
                 {352.0, 14}, {27161.99, 23}, {27162.0, 24}, {34999.99, 24}, {35000.0, 25}, {1e9, 25}};
    for (const auto& c : cases) EXPECT_EQ(BarHeight(view, c.value), c.height) << "value " << c.value;
}

class SilentFrame : public SpectrumTest, public ::testing::WithParamInterface<bool> {};

TEST_P(SilentFrame, AfterStartup) {
    playing = GetParam();
    FillBoth(0x00);
    const std::vector<BlackRect> rects = SpectrumFrame();
    std::vector<BlackRect> expected;
    for (int k = 0; k < SpectrumBars; ++k) {
        expected.push_back({11 + 3 * k, 7, 13 + 3 * k, 31});
        expected.push_back({11 + 3 * k, 32, 13 + 3 * k, 31});  // paints nothing
    }
    // The bass peak falls from its load-time 0 to 1 over an empty bar (t 25).
    expected.push_back({7, 7, 10, 8});
    expected.push_back({7, 9, 10, 32});
    EXPECT_EQ(rects, expected);
    for (int k = 0; k < SpectrumBars; ++k) EXPECT_EQ(view.BarPeak[k], 24) << k;
    EXPECT_EQ(view.BassPeak, 1);
}

INSTANTIATE_TEST_SUITE_P(PlayingOrNot, SilentFrame, ::testing::Bool());

TEST_F(SpectrumTest, BassPeakFallsFromLoadAndSurvivesStartup) {
    playing = false;
    for (int frame = 1; frame <= 10; ++frame) {
        SpectrumFrame();
        EXPECT_EQ(view.BassPeak, frame);
    }
    view.BarPeak[40] = 3;
    StartUp();
    EXPECT_EQ(view.BassPeak, 10);
    EXPECT_EQ(view.BarPeak[40], 23);
    for (int frame = 11; frame <= 30; ++frame) SpectrumFrame();
    EXPECT_EQ(view.BassPeak, 24);  // reached after 24 frames, then rests
    const std::vector<BlackRect> rects = SpectrumFrame();
    EXPECT_EQ(BarFills(rects, Bass), BassColumnFills(24, 25));
}

// Bass value v becomes r = round(v * 25 * 0.001), ties to even, and t = 25 - r
// limited to 0..25; 20 and 100 give the ties 0.5 and 2.5. In extended
// precision 60 gives just under 1.5 (in double precision exactly 1.5, so 2).
TEST_F(SpectrumTest, BassIndicatorScaling) {
    const struct {
        double value;
        int top;
    } cases[] = {{0, 25},  {20, 25},  {21, 24},  {59, 24},  {60, 24},
                 {61, 23}, {100, 23}, {1000, 0}, {2000, 0}, {32768, 0}};
    for (const auto& c : cases) {
        values.dc = c.value;
        view.BassPeak = 24;
        const std::vector<BlackRect> rects = ShowValues();
        const int peak = std::min(c.top, 24);
        EXPECT_EQ(view.BassPeak, peak) << "value " << c.value;
        EXPECT_EQ(BarFills(rects, Bass), BassColumnFills(peak, c.top)) << "value " << c.value;
    }
}

TEST_F(SpectrumTest, PeakJumpsFallsAndAlternates) {
    const int k = 5;
    auto frame = [&](double value) {
        values.bars[k] = value;
        return BarFills(ShowValues(), k);
    };

    // 5000 lies in [4777, 7377): height 20, top offset 5. The mark jumps from
    // 23 to the top, then a steady value makes it alternate with the row below.
    EXPECT_EQ(frame(5000), BarColumnFills(k, 5, 5));
    EXPECT_EQ(frame(5000), BarColumnFills(k, 6, 5));
    EXPECT_EQ(frame(5000), BarColumnFills(k, 5, 5));
    EXPECT_EQ(frame(5000), BarColumnFills(k, 6, 5));

    // Silence: the bar drops to one row at once, the mark falls a row a frame.
    for (int peak = 7; peak <= 24; ++peak) EXPECT_EQ(frame(0), BarColumnFills(k, peak, 24)) << peak;
    EXPECT_EQ(frame(0), BarColumnFills(k, 24, 24));

    // From rest to the full height in one frame.
    EXPECT_EQ(frame(35000), BarColumnFills(k, 0, 0));
    EXPECT_EQ(frame(200), BarColumnFills(k, 1, 13));
    EXPECT_EQ(view.BarPeak[k], 1);
}

TEST_F(SpectrumTest, HiddenSpectrumPaintsMasksOnly) {
    FillWave([](int n) { return 80.0 * std::cos(TwoPi * 30 * n / 512); });
    SpectrumFrame();
    const SpectrumAnalysisState analysed = analysis;
    const SpectrumDisplayState shown = view;

    spectrumShown = false;
    for (bool playingNow : {true, false}) {
        playing = playingNow;
        FillBoth(0x00);
        EXPECT_EQ(SpectrumFrame(), (std::vector<BlackRect>{{14, 7, 268, 32}, {7, 7, 10, 32}}));
    }
    EXPECT_TRUE(std::equal(shown.BarPeak, shown.BarPeak + SpectrumBars, view.BarPeak));
    EXPECT_EQ(view.BassPeak, shown.BassPeak);
    EXPECT_TRUE(std::equal(analysed.SpectrumRe, analysed.SpectrumRe + SpectrumSlots, analysis.SpectrumRe));
    EXPECT_TRUE(std::equal(analysed.SpectrumIm, analysed.SpectrumIm + SpectrumSlots, analysis.SpectrumIm));

    // Shown again, the peaks fall on from where they froze.
    spectrumShown = true;
    SpectrumFrame();
    EXPECT_EQ(view.BarPeak[31], shown.BarPeak[31] + 1);
}

// Bar k shows slot k, frequency bin k - 1. A sine's real part is near 0, so
// only its magnitude lights the bar.
class SineOnBin : public SpectrumTest, public ::testing::WithParamInterface<int> {};

TEST_P(SineOnBin, LightsTheBarOfTheNextSlot) {
    const int bin = GetParam();
    FillWave([bin](int n) { return 100.0 * std::sin(TwoPi * bin * n / 512); });
    const std::vector<BlackRect> rects = SpectrumFrame();
    ASSERT_EQ(rects.size(), size_t(SpectrumRects));
    const int lit = TopOffset(rects, bin + 1);
    EXPECT_LE(lit, 3);  // about 12800: height 22
    for (int k = 0; k < SpectrumBars; ++k) {
        if (k != bin + 1) {
            EXPECT_GT(TopOffset(rects, k), lit) << "bar " << k;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Bins, SineOnBin, ::testing::Values(4, 19, 22, 45, 61, 84));

// A whole Deduzodo frame fills the list to its capacity: the level meter's
// four, then the spectrum's 174, nothing dropped.
TEST_F(SpectrumTest, EveryShownFrameMakes174FillsInPlace) {
    std::mt19937 random(9);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int frame = 0; frame < 60; ++frame) {
        playing = frame % 5 != 4;
        const int scale = 1 << (frame % 8);
        for (auto& channel : record.waveformData) {
            for (unsigned char& b : channel) b = static_cast<unsigned char>((byte(random) % scale) - scale / 2);
        }
        PaintList paint;
        DrawLevelMeter(meter, record.waveformData, true, DeduzodoSkin.levelBand, paint);
        DrawSpectrum(view, analysis, record.waveformData, true, playing, paint);
        ASSERT_EQ(paint.count, LevelMeterRects + SpectrumRects) << "frame " << frame;
        const std::vector<BlackRect> rects(paint.rects + LevelMeterRects, paint.rects + paint.count);
        // A bar's bottom row stays lit; the bass indicator may go dark.
        for (int k = 0; k < SpectrumBars; ++k) {
            for (const BlackRect& r : BarFills(rects, k)) {
                EXPECT_EQ(r.left, BarLeft(k));
                EXPECT_EQ(r.right, BarLeft(k) + BarWidth);
                if (r.bottom > r.top) {
                    EXPECT_TRUE(r.top >= Top && r.bottom <= SpectrumRows.bottom - 1) << r;
                }
            }
        }
        for (const BlackRect& r : BarFills(rects, Bass)) {
            EXPECT_EQ(r.left, BassColumns.left);
            EXPECT_EQ(r.right, BassColumns.right);
            if (r.bottom > r.top) {
                EXPECT_TRUE(r.top >= Top && r.bottom <= SpectrumRows.bottom) << r;
            }
        }
    }
}

TEST_F(SpectrumTest, LevelThresholdsWholeTable) {
    const int32_t expected[25] = {0,   200, 2,   4,    7,    10,   16,   26,   40,    62,    95,    147,  228,
                                  352, 544, 840, 1297, 2003, 3094, 4777, 7377, 11392, 17590, 27162, 35000};
    for (int i = 0; i < 25; ++i) EXPECT_EQ(view.LevelThresholds[i], expected[i]) << "entry " << i;
}
