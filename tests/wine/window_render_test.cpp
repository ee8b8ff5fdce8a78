// Frames of the real DLL read back from its window: meters, docking, double size.
#include <algorithm>

#include "tests/wine/window_fixture.h"

namespace {

constexpr int Row = LevelRow(DeduzodoSkin);

// At rest each bar shows its innermost column and a peak mark beside it.
bool LitAtRest(int x) { return (x >= LeftBarInner - 2 && x <= LeftBarInner) || (x >= RightBarInner && x <= RightBarInner + 2); }

}  // namespace

TEST_F(WindowTest, SilenceShowsMetersAtRest) {
    Start(0);
    FillWaveform(module, 0, 0);
    Render(1);
    for (int x = LeftBarOuter; x <= RightBarOuter; ++x) {
        if (CentreGap.Contain(x)) continue;
        EXPECT_EQ(Lit(x, Row), LitAtRest(x)) << "column " << x;
    }
    // Every bar at rest shows only its bottom row.
    for (int bar = 1; bar < SpectrumBars; ++bar) {
        const int x = BarLeft(bar);
        EXPECT_TRUE(Lit(x, RestingBarRow)) << bar;
        EXPECT_FALSE(Lit(x, RestingBarRow - 1)) << bar;
        EXPECT_FALSE(Lit(x, SpectrumRows.top)) << bar;
    }
}

TEST_F(WindowTest, BassPeakFallsOneRowPerFrame) {
    Start(0);
    FillWaveform(module, 0, 0);
    for (int frame = 1; frame <= 26; ++frame) {
        Render(1);
        const int peakRow = SpectrumRows.top + (frame < 24 ? frame : 24);
        for (int y = SpectrumRows.top; y < SpectrumRows.bottom; ++y) {
            EXPECT_EQ(Lit(BassColumns.left + 1, y), y == peakRow) << "frame " << frame << " row " << y;
        }
    }
}

TEST_F(WindowTest, FullScaleLevelsRiseOverThreeFrames) {
    Start(0);
    FillWaveform(module, 0x80, 0x80);
    const int drawn[] = {42, 85, 128};
    for (int level : drawn) {
        Render(1);
        // Every column between the peak marks is lit once the bar reaches
        // them: the inverted gap rectangles paint nothing.
        const int end = LeftBarInner - level;
        for (int x = end; x <= LeftBarInner; ++x) ASSERT_TRUE(Lit(x, Row)) << level << " column " << x;
        // Left bar lit from LeftBarInner - level inwards; peak mark at its two outermost columns.
        EXPECT_TRUE(Lit(end, Row)) << level;
        if (end > LeftBarOuter + 2) {
            EXPECT_FALSE(Lit(end - 1, Row)) << level;
        }
        EXPECT_TRUE(Lit(LeftBarOuter, Row));
        EXPECT_TRUE(Lit(LeftBarOuter + 1, Row));
        // Right bar lit up to RightBarInner + level; peak mark one column in
        // from its outer end, since the right step holds the peak one lower.
        EXPECT_TRUE(Lit(std::min(RightBarInner + level, RightBarOuter - 1), Row)) << level;
        EXPECT_TRUE(Lit(RightBarOuter - 2, Row));
        EXPECT_TRUE(Lit(RightBarOuter - 1, Row));
        EXPECT_FALSE(Lit(RightBarOuter, Row));
    }
}

TEST_F(WindowTest, DockedWindowFollowsThePlayerWindow) {
    Start(0);
    const POINT moves[] = {{150, 300}, {50, 300}, {50, 250}, {50, 420}, {0, 0}};
    for (const POINT& to : moves) {
        MovePlayerWindow(to.x, to.y, PlayerWidth, PlayerHeight);
        Render(1);
        const RECT rect = WindowRectOf(plugin);
        EXPECT_EQ(rect.left, to.x);
        EXPECT_EQ(rect.top, to.y + PlayerHeight);
    }
}

TEST_F(WindowTest, TopDockingCanLeaveTheScreen) {
    Start(0, 3);
    MovePlayerWindow(PlayerLeft, 10, PlayerWidth, PlayerHeight);
    Render(1);
    EXPECT_EQ(WindowRectOf(plugin).top, 10 - DeduzodoSkin.height);
    EXPECT_EQ(WindowRectOf(plugin).bottom, 10);
}

TEST_F(WindowTest, RightEdgeAloneDoesNotRedock) {
    Start(0);
    MovePlayerWindow(PlayerLeft, PlayerTop, 450, PlayerHeight);
    Render(1);
    const RECT rect = WindowRectOf(plugin);
    EXPECT_EQ(rect.right - rect.left, SkinWidth);
    EXPECT_EQ(rect.top, PlayerTop + PlayerHeight);
    // A change of height re-docks, now at double size.
    MovePlayerWindow(PlayerLeft, PlayerTop, 450, PlayerHeight + 10);
    Render(1);
    const RECT redocked = WindowRectOf(plugin);
    EXPECT_EQ(redocked.top, PlayerTop + PlayerHeight + 10);
    EXPECT_EQ(redocked.right - redocked.left, 2 * SkinWidth);
    EXPECT_EQ(redocked.bottom - redocked.top, 2 * DeduzodoSkin.height);
}

TEST_F(WindowTest, FreeWindowNeverMovesWithThePlayer) {
    Start(0, 0);
    MovePlayerWindow(300, 500, PlayerWidth, PlayerHeight);
    Render(2);
    const RECT rect = WindowRectOf(plugin);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
}

TEST_F(WindowTest, DoubleSizeShowsTwoByTwoBlocks) {
    MovePlayerWindow(PlayerLeft, PlayerTop, 550, 232);
    Start(0);
    FillWaveform(module, 0, 0);
    Render(1);
    ASSERT_EQ(WindowRectOf(plugin).right - WindowRectOf(plugin).left, 2 * SkinWidth);
    for (int x = 120; x <= 150; ++x) {
        for (int dx = 0; dx < 2; ++dx) {
            for (int dy = 0; dy < 2; ++dy) {
                EXPECT_EQ(Lit(2 * x + dx, 2 * Row + dy), LitAtRest(x)) << x;
            }
        }
    }
    const COLORREF frame = PixelAt(plugin, 2 * LeftRimSide.left, 40);
    EXPECT_EQ(PixelAt(plugin, 2 * LeftRimSide.left + 1, 41), frame);
}

TEST_F(WindowTest, PlayerWindowGoneKeepsRenderingInPlace) {
    Start(0, 0);
    ClosePlayerWindow();
    FillWaveform(module, 0x40, 0x40);
    EXPECT_EQ(module->Render(module), 0);
    EXPECT_EQ(module->Render(module), 0);
    module->Quit(module);
    module = nullptr;
    EXPECT_EQ(FindPluginWindow(), nullptr);
}
