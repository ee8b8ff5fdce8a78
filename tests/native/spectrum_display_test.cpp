#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/native/spectrum_fixture.h"

namespace {

constexpr int FillsPerFrame = 2 * SpectrumBars + 2;

// Top offset t of bar k (or of the bass indicator, k = 86) from the bottom
// of its second fill, which is t + 7.
int TopOffset(const std::vector<PaintedRect>& rects, int k) { return rects[2 * k + 1].bottom - 7; }

// The two fills of a column from left to right with peak p and top t.
std::vector<PaintedRect> ColumnFills(int left, int right, int peak, int top) {
    return {{left, 7, right, peak + 7}, {left, peak + 8, right, top + 7}};
}

std::vector<PaintedRect> BarFills(const std::vector<PaintedRect>& rects, int k) {
    return {rects[2 * k], rects[2 * k + 1]};
}

}  // namespace

TEST_F(SpectrumTest, BarHeightThresholds) {
    const struct {
        double value;
        int height;
    } cases[] = {{-5.0, 1},     {0.0, 1},      {199.99, 1},     {200.0, 12},     {227.99, 12},
                 {228.0, 13},   {351.9, 13},   {352.0, 14},     {27161.99, 23},  {27162.0, 24},
                 {34999.99, 24}, {35000.0, 25}, {1e9, 25}};
    for (const auto& c : cases) EXPECT_EQ(BarHeight(c.value), c.height) << "value " << c.value;
}

TEST_F(SpectrumTest, SilentFrameAfterStartup) {
    for (bool playing : {false, true}) {
        SetUp();
        Plugin.HostPlaying = playing;
        FillBoth(0x00);
        const std::vector<PaintedRect> rects = SpectrumFrame();
        std::vector<PaintedRect> expected;
        for (int k = 0; k < SpectrumBars; ++k) {
            expected.push_back({11 + 3 * k, 7, 13 + 3 * k, 31});
            expected.push_back({11 + 3 * k, 32, 13 + 3 * k, 31});  // paints nothing
        }
        // The bass peak falls from its load-time 0 to 1 over an empty bar (t 25).
        expected.push_back({7, 7, 10, 8});
        expected.push_back({7, 9, 10, 32});
        EXPECT_EQ(rects, expected) << "playing " << playing;
        for (int k = 0; k < SpectrumBars; ++k) EXPECT_EQ(SpectrumView.BarPeak[k], 24) << k;
        EXPECT_EQ(SpectrumView.BassPeak, 1);
    }
}

TEST_F(SpectrumTest, BassPeakFallsFromLoadAndSurvivesStartup) {
    Plugin.HostPlaying = false;
    for (int frame = 1; frame <= 10; ++frame) {
        SpectrumFrame();
        EXPECT_EQ(SpectrumView.BassPeak, frame);
    }
    SpectrumView.BarPeak[40] = 3;
    StartUp();
    EXPECT_EQ(SpectrumView.BassPeak, 10);
    EXPECT_EQ(SpectrumView.BarPeak[40], 23);
    for (int frame = 11; frame <= 30; ++frame) SpectrumFrame();
    EXPECT_EQ(SpectrumView.BassPeak, 24);  // reached after 24 frames, then rests
    const std::vector<PaintedRect> rects = SpectrumFrame();
    EXPECT_EQ(BarFills(rects, 86), ColumnFills(7, 10, 24, 25));
}

// Bass value v becomes r = round(v * 25 * 0.001), ties to even, and t = 25 - r
// limited to 0..25; 20 and 100 give the ties 0.5 and 2.5. In extended
// precision 60 gives just under 1.5 (in double precision exactly 1.5, so 2).
TEST_F(SpectrumTest, BassIndicatorScaling) {
    const struct {
        double value;
        int top;
    } cases[] = {{0, 25},  {20, 25},  {21, 24},   {59, 24},   {60, 24},
                 {61, 23}, {100, 23}, {1000, 0}, {2000, 0}, {32768, 0}};
    for (const auto& c : cases) {
        Analysis.SpectrumRe[1] = c.value;
        SpectrumView.BassPeak = 24;
        ClearPainted();
        PaintSpectrum();
        const std::vector<PaintedRect> rects = PaintedRects();
        const int peak = std::min(c.top, 24);
        EXPECT_EQ(SpectrumView.BassPeak, peak) << "value " << c.value;
        EXPECT_EQ(BarFills(rects, 86), ColumnFills(7, 10, peak, c.top)) << "value " << c.value;
    }
}

TEST_F(SpectrumTest, PeakJumpsFallsAndAlternates) {
    const int k = 5;  // slot 5 holds a magnitude
    const int left = 11 + 3 * k, right = 13 + 3 * k;
    auto frame = [&](double value) {
        Analysis.SpectrumRe[k] = value;
        ClearPainted();
        PaintSpectrum();
        return BarFills(PaintedRects(), k);
    };

    // 5000 lies in [4777, 7377): height 20, top offset 5. The mark jumps from
    // 23 to the top, then a steady value makes it alternate with the row below.
    EXPECT_EQ(frame(5000), ColumnFills(left, right, 5, 5));
    EXPECT_EQ(frame(5000), ColumnFills(left, right, 6, 5));
    EXPECT_EQ(frame(5000), ColumnFills(left, right, 5, 5));
    EXPECT_EQ(frame(5000), ColumnFills(left, right, 6, 5));

    // Silence: the bar drops to one row at once, the mark falls a row a frame.
    for (int peak = 7; peak <= 24; ++peak) EXPECT_EQ(frame(0), ColumnFills(left, right, peak, 24)) << peak;
    EXPECT_EQ(frame(0), ColumnFills(left, right, 24, 24));

    // From rest to the full height in one frame.
    EXPECT_EQ(frame(35000), ColumnFills(left, right, 0, 0));
    EXPECT_EQ(frame(200), ColumnFills(left, right, 1, 13));
    EXPECT_EQ(SpectrumView.BarPeak[k], 1);
}

TEST_F(SpectrumTest, HiddenSpectrumPaintsMasksOnly) {
    FillWave([](int n) { return 80.0 * std::cos(TwoPi * 30 * n / 512); });
    SpectrumFrame();
    const SpectrumAnalysisState analysed = Analysis;
    const SpectrumDisplayState shown = SpectrumView;

    Plugin.DisplayFlags &= ~ShowSpectrum;
    for (bool playing : {true, false}) {
        Plugin.HostPlaying = playing;
        FillBoth(0x00);
        EXPECT_EQ(SpectrumFrame(), (std::vector<PaintedRect>{{14, 7, 268, 32}, {7, 7, 10, 32}}));
    }
    EXPECT_TRUE(std::equal(shown.BarPeak, shown.BarPeak + SpectrumBars, SpectrumView.BarPeak));
    EXPECT_EQ(SpectrumView.BassPeak, shown.BassPeak);
    EXPECT_TRUE(std::equal(analysed.SpectrumRe, analysed.SpectrumRe + SpectrumSlots, Analysis.SpectrumRe));
    EXPECT_TRUE(std::equal(analysed.SpectrumIm, analysed.SpectrumIm + SpectrumSlots, Analysis.SpectrumIm));

    // Shown again, the peaks fall on from where they froze.
    Plugin.DisplayFlags |= ShowSpectrum;
    SpectrumFrame();
    EXPECT_EQ(SpectrumView.BarPeak[31], shown.BarPeak[31] + 1);
}

// Bar k shows slot k, frequency bin k - 1, whether or not the magnitude pass
// converted that slot (slots 20, 23, 62 and 85 are not converted). A sine's
// real part is near 0, so only its magnitude lights the bar.
TEST_F(SpectrumTest, SineOnBinLightsBarOfNextSlot) {
    for (int bin : {4, 19, 22, 45, 61, 84}) {
        SetUp();
        FillWave([bin](int n) { return 100.0 * std::sin(TwoPi * bin * n / 512); });
        const std::vector<PaintedRect> rects = SpectrumFrame();
        ASSERT_EQ(rects.size(), size_t(FillsPerFrame));
        const int lit = TopOffset(rects, bin + 1);
        EXPECT_LE(lit, 3) << "bin " << bin;  // about 12800: height 22
        for (int k = 0; k < SpectrumBars; ++k) {
            if (k != bin + 1) {
                EXPECT_GT(TopOffset(rects, k), lit) << "bin " << bin << " bar " << k;
            }
        }
    }
}

TEST_F(SpectrumTest, PaintingLeavesTheArraysAlone) {
    FillWave([](int n) { return 60.0 * std::sin(TwoPi * 25.5 * n / 512) + 30.0 * std::cos(TwoPi * 70 * n / 512); });
    AnalyzeSpectrum(&record);
    const SpectrumAnalysisState analysed = Analysis;
    PaintSpectrum();
    EXPECT_TRUE(std::equal(analysed.SpectrumRe, analysed.SpectrumRe + SpectrumSlots, Analysis.SpectrumRe));
    EXPECT_TRUE(std::equal(analysed.SpectrumIm, analysed.SpectrumIm + SpectrumSlots, Analysis.SpectrumIm));
}

// SpectrumIm keeps a stale transform while the player is not playing; no bar
// may show it.
TEST_F(SpectrumTest, NotPlayingShowsEveryBarAtZero) {
    FillWave([](int n) { return 120.0 * std::sin(TwoPi * 33 * n / 512) + 5.0 * (n % 7); });
    const std::vector<PaintedRect> loud = SpectrumFrame();
    EXPECT_LT(TopOffset(loud, 34), 24);  // slot 34 is not converted

    Plugin.HostPlaying = false;
    for (int frame = 0; frame < 3; ++frame) {
        const std::vector<PaintedRect> rects = SpectrumFrame();
        for (int k = 0; k < SpectrumBars; ++k) EXPECT_EQ(TopOffset(rects, k), 24) << "bar " << k;
        EXPECT_EQ(TopOffset(rects, 86), 25);
    }
}

TEST_F(SpectrumTest, EveryShownFrameMakes174FillsInPlace) {
    std::mt19937 random(9);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int frame = 0; frame < 60; ++frame) {
        Plugin.HostPlaying = frame % 5 != 4;
        const int scale = 1 << (frame % 8);
        for (auto& channel : record.waveformData) {
            for (unsigned char& b : channel) b = static_cast<unsigned char>((byte(random) % scale) - scale / 2);
        }
        const std::vector<PaintedRect> rects = SpectrumFrame();
        ASSERT_EQ(rects.size(), size_t(FillsPerFrame)) << "frame " << frame;
        for (int k = 0; k < SpectrumBars; ++k) {
            for (const PaintedRect& r : BarFills(rects, k)) {
                EXPECT_EQ(r.left, 11 + 3 * k);
                EXPECT_EQ(r.right, 13 + 3 * k);
                if (r.bottom > r.top) {
                    EXPECT_TRUE(r.top >= 7 && r.bottom <= 31) << r;
                }
            }
        }
        for (const PaintedRect& r : BarFills(rects, 86)) {
            EXPECT_EQ(r.left, 7);
            EXPECT_EQ(r.right, 10);
            if (r.bottom > r.top) {
                EXPECT_TRUE(r.top >= 7 && r.bottom <= 32) << r;
            }
        }
    }
    // Bar 0 in columns 11 and 12, bar 85 in 266 and 267.
    EXPECT_EQ(Painted.rects[0].left, 11);
    EXPECT_EQ(Painted.rects[171].right, 268);
}
