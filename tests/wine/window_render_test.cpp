// Frames of the real DLL read back from its window: meters, docking, double size.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tests/wine/window_fixture.h"

namespace {

constexpr int Row = LevelRow(DeduzodoSkin);

// At rest each bar shows its innermost column and a peak mark beside it.
bool LitAtRest(int x) {
    return (x >= LeftBarInner - 2 && x <= LeftBarInner) || (x >= RightBarInner && x <= RightBarInner + 2);
}

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

// At rest a frame draws nothing; every change must still show at the next
// frame, and a repaint that the platform asks for shows the latest picture.
TEST_F(WindowTest, PictureAtRestFollowsEveryChangeAtOnce) {
    Start(0);
    FillWaveform(module, 0, 0);
    Render(SpectrumBarRows + 2);
    auto spectrumShown = [&] { return Lit(BarLeft(1), RestingBarRow); };
    ASSERT_TRUE(spectrumShown());
    SendMessageA(plugin, WM_LBUTTONDBLCLK, 0, MAKELPARAM(SpectrumClickColumns.left, 10));
    Render(1);
    EXPECT_FALSE(spectrumShown()) << "toggled off";
    SendMessageA(plugin, WM_LBUTTONDBLCLK, 0, MAKELPARAM(SpectrumClickColumns.left, 10));
    Render(1);
    EXPECT_TRUE(spectrumShown()) << "toggled on";

    MovePlayerWindow(PlayerLeft + 40, PlayerTop + 20, PlayerWidth, PlayerHeight);
    Render(1);
    EXPECT_EQ(WindowRectOf(plugin).left, PlayerLeft + 40);
    EXPECT_TRUE(spectrumShown()) << "moved";
    EXPECT_TRUE(Lit(LeftBarInner, Row)) << "moved";

    // A wider player window alone: double size in the same window, so
    // column 1 shows the canvas's black outer column, not the bevel.
    ASSERT_TRUE(Lit(LeftBevel.left, 20));
    MovePlayerWindow(PlayerLeft + 40, PlayerTop + 20, 450, PlayerHeight);
    Render(1);
    EXPECT_FALSE(Lit(LeftBevel.left, 20)) << "double size";
    EXPECT_TRUE(Lit(2 * LeftBevel.left, 20)) << "double size";
    MovePlayerWindow(PlayerLeft + 40, PlayerTop + 20, PlayerWidth, PlayerHeight);
    Render(1);
    EXPECT_TRUE(Lit(LeftBevel.left, 20)) << "single size again";

    // Whatever the window showed is lost, as under a window moved away.
    SendMessageA(plugin, WM_LBUTTONDBLCLK, 0, MAKELPARAM(SpectrumClickColumns.left, 10));
    Render(1);
    HDC dc = GetDC(plugin);
    const RECT all = {0, 0, SkinWidth, DeduzodoSkin.height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(plugin, dc);
    ASSERT_TRUE(Lit(BarLeft(1), SpectrumRows.top));
    InvalidateRect(plugin, nullptr, FALSE);
    UpdateWindow(plugin);
    EXPECT_FALSE(spectrumShown()) << "uncovered";
    EXPECT_FALSE(Lit(BarLeft(1), SpectrumRows.top)) << "uncovered";
    EXPECT_TRUE(Lit(LeftBarInner, Row)) << "uncovered";
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

namespace {

uint16_t X87ControlWord() {
    uint16_t word;
    __asm__ volatile("fnstcw %0" : "=m"(word));
    return word;
}
void SetX87ControlWord(uint16_t word) { __asm__ volatile("fldcw %0" : : "m"(word)); }
uint16_t X87ExceptionFlags() {
    uint16_t word;
    __asm__ volatile("fnstsw %0" : "=m"(word));
    return word & 0x3F;
}

// Clears the exception flags, then sets the inexact one as any division
// by 3 does.
void RaiseInexactFlagOnly() {
    __asm__ volatile("fnclex");
    volatile long double three = 3;
    volatile long double third = 1 / three;
    (void)third;
}

// Samples whose DC term is exactly `bass`: that value at sample 256 (window
// weight 0.5, both channels), and pairs that cancel at m and 512 - m.
void FillBassAndNoise(winampVisModule* module, int bass) {
    unsigned seed = 7;
    for (auto& channel : module->waveformData) std::memset(channel, 0, sizeof channel);
    for (int m = 1; m < 256; ++m) {
        seed = seed * 1103515245u + 12345u;
        const int value = static_cast<int>((seed >> 16) % 201) - 100;
        for (auto& channel : module->waveformData) {
            channel[m] = static_cast<unsigned char>((128 - value) ^ 0x80);
            channel[512 - m] = static_cast<unsigned char>((128 + value) ^ 0x80);
        }
    }
    for (auto& channel : module->waveformData) channel[256] = static_cast<unsigned char>((128 - bass) ^ 0x80);
}

// Lit or not, the spectrum rows of the bass indicator and of bars 0 to 85.
std::vector<bool> SpectrumPixels(HWND window) {
    std::vector<bool> lit;
    HDC dc = GetDC(window);
    for (int x = BassColumns.left + 1; x <= BarLeft(SpectrumBars - 1); x += BarPitch) {
        for (int y = SpectrumRows.top; y < SpectrumRows.bottom; ++y) lit.push_back(IsLit(GetPixel(dc, x, y)));
    }
    ReleaseDC(window, dc);
    return lit;
}

}  // namespace

// The player may leave the x87 unit at any precision and rounding. A frame
// shows the same bars whatever it left, and the player finds its control
// word and exception flags as they were: the inexact flag it raised stays
// raised, although the plug-in's rounding clears the flags on its way.
// A bass value of 60 is 1.5 rows in double precision but just under in
// extended; 61 is 1.525 rows, one fewer when rounding toward zero.
TEST_F(WindowTest, FramesDoNotDependOnThePlayersFloatingPointState) {
    Start(0);
    Player.playingAnswer = 1;
    SendMessageA(plugin, WM_TIMER, 1001, 0);
    const uint16_t original = X87ControlWord();
    const struct {
        const char* name;
        uint16_t word;
    } callers[] = {{"64-bit, nearest", 0x037F},
                   {"53-bit, nearest", 0x027F},
                   {"53-bit, toward zero", 0x0E7F},
                   {"24-bit, up", 0x087F}};
    const struct { int bass, top; } cases[] = {{60, 24}, {61, 23}};
    for (const auto& c : cases) {
        std::vector<bool> first;
        for (const auto& caller : callers) {
            // Silent frames first put every peak mark on the bottom row.
            FillWaveform(module, 0, 0);
            Render(30);
            FillBassAndNoise(module, c.bass);
            SetX87ControlWord(caller.word);
            RaiseInexactFlagOnly();
            const uint16_t flags = X87ExceptionFlags();
            module->Render(module);
            const uint16_t wordAfter = X87ControlWord();
            const uint16_t flagsAfter = X87ExceptionFlags();
            SetX87ControlWord(original);
            EXPECT_EQ(wordAfter, caller.word) << caller.name;
            EXPECT_EQ(flags, 0x20) << caller.name;
            EXPECT_EQ(flagsAfter, flags) << caller.name;

            const std::vector<bool> lit = SpectrumPixels(plugin);
            // The bass column: from row offset top down lit, the peak mark among them.
            for (int y = SpectrumRows.top; y < SpectrumRows.bottom; ++y) {
                EXPECT_EQ(lit[y - SpectrumRows.top], y >= SpectrumRows.top + c.top)
                    << caller.name << ", bass " << c.bass << ", row " << y;
            }
            if (first.empty()) {
                first = lit;
                EXPECT_GT(std::count(lit.begin() + 25, lit.end(), true), 85 * 3) << "bars above rest";
            }
            EXPECT_EQ(lit, first) << caller.name << ", bass " << c.bass;
        }
    }
}
