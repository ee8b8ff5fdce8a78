// Frames of the real DLL read back from its window: meters, docking, double size.
#include "tests/wine/window_fixture.h"

namespace {
constexpr int LevelRow = 35;
}

TEST_F(WindowTest, SilenceShowsMetersAtRest) {
    Start(0);
    FillWaveform(module, 0, 0);
    Render(1);
    for (int x = 7; x <= 267; ++x) {
        if (x >= 136 && x <= 138) continue;
        const bool lit = (x >= 133 && x <= 135) || (x >= 139 && x <= 141);
        EXPECT_EQ(Lit(x, LevelRow), lit) << "column " << x;
    }
    // Every bar at rest shows only row 31.
    for (int bar = 1; bar <= 85; ++bar) {
        const int x = 11 + 3 * bar;
        EXPECT_TRUE(Lit(x, 31)) << bar;
        EXPECT_FALSE(Lit(x, 30)) << bar;
        EXPECT_FALSE(Lit(x, 7)) << bar;
    }
}

TEST_F(WindowTest, BassPeakFallsOneRowPerFrame) {
    Start(0);
    FillWaveform(module, 0, 0);
    for (int frame = 1; frame <= 26; ++frame) {
        Render(1);
        const int peakRow = 7 + (frame < 24 ? frame : 24);
        for (int y = 7; y <= 31; ++y) EXPECT_EQ(Lit(8, y), y == peakRow) << "frame " << frame << " row " << y;
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
        for (int x = 135 - level; x <= 135; ++x) ASSERT_TRUE(Lit(x, LevelRow)) << level << " column " << x;
        // Left bar lit from 135 - level inwards; peak mark at columns 7 and 8.
        EXPECT_TRUE(Lit(135 - level, LevelRow)) << level;
        if (135 - level > 9) {
            EXPECT_FALSE(Lit(134 - level, LevelRow)) << level;
        }
        EXPECT_TRUE(Lit(7, LevelRow));
        EXPECT_TRUE(Lit(8, LevelRow));
        // Right bar lit up to 139 + level; peak mark at 265 and 266.
        EXPECT_TRUE(Lit(139 + level > 266 ? 266 : 139 + level, LevelRow)) << level;
        EXPECT_TRUE(Lit(265, LevelRow));
        EXPECT_TRUE(Lit(266, LevelRow));
        EXPECT_FALSE(Lit(267, LevelRow));
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
    EXPECT_EQ(WindowRectOf(plugin).top, 10 - 46);
    EXPECT_EQ(WindowRectOf(plugin).bottom, 10);
}

TEST_F(WindowTest, RightEdgeAloneDoesNotRedock) {
    Start(0);
    MovePlayerWindow(PlayerLeft, PlayerTop, 450, PlayerHeight);
    Render(1);
    const RECT rect = WindowRectOf(plugin);
    EXPECT_EQ(rect.right - rect.left, 275);
    EXPECT_EQ(rect.top, PlayerTop + PlayerHeight);
    // A change of height re-docks, now at double size.
    MovePlayerWindow(PlayerLeft, PlayerTop, 450, PlayerHeight + 10);
    Render(1);
    const RECT redocked = WindowRectOf(plugin);
    EXPECT_EQ(redocked.top, PlayerTop + PlayerHeight + 10);
    EXPECT_EQ(redocked.right - redocked.left, 550);
    EXPECT_EQ(redocked.bottom - redocked.top, 92);
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
    ASSERT_EQ(WindowRectOf(plugin).right - WindowRectOf(plugin).left, 550);
    for (int x = 120; x <= 150; ++x) {
        const bool lit = (x >= 133 && x <= 135) || (x >= 139 && x <= 141);
        for (int dx = 0; dx < 2; ++dx) {
            for (int dy = 0; dy < 2; ++dy) {
                EXPECT_EQ(Lit(2 * x + dx, 2 * LevelRow + dy), lit) << x;
            }
        }
    }
    const COLORREF frame = PixelAt(plugin, 4, 40);
    EXPECT_EQ(PixelAt(plugin, 5, 41), frame);
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
