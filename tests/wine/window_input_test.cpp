// The window procedure of the real DLL: timer, double-clicks, drag, keys,
// menu. Mouse input comes as a hand gives it, through the platform.
#include <atomic>
#include <thread>

#include "tests/wine/hand_input.h"
#include "tests/wine/window_fixture.h"

namespace {

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

constexpr int LeftOfMiddle = LeftBarInner - 1;  // lit at rest in both modules

}  // namespace

class InputTest : public WindowTest {
protected:
    // Whether each meter shows after one rendered frame of silence.
    bool LevelShown() {
        Render(1);
        return Lit(LeftOfMiddle, levelRow);
    }
    bool SpectrumShown() {
        Render(1);
        return Lit(BarLeft(1), RestingBarRow);
    }
    void DoubleClick(int x, int y) { SendMessageA(plugin, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(x, y)); }
    int levelRow = LevelRow(DeduzodoSkin);
};

TEST_F(InputTest, TimerRendersOnlyWhileThePlayerIsNotPlaying) {
    Start(0);
    FillWaveform(module, 0, 0);
    Player.playingAnswer = 1;
    SendMessageA(plugin, WM_TIMER, 1001, 0);
    EXPECT_EQ(Player.queries, 1);
    EXPECT_FALSE(Lit(LeftOfMiddle, LevelRow(DeduzodoSkin)));  // still the start-up masks: no frame rendered
    for (LRESULT answer : {0, 3}) {
        Player.playingAnswer = answer;
        RedrawWindow(plugin, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        SendMessageA(plugin, WM_TIMER, 1001, 0);
        EXPECT_TRUE(Lit(LeftOfMiddle, LevelRow(DeduzodoSkin))) << answer;
    }
    EXPECT_EQ(Player.queries, 3);
}

TEST_F(InputTest, SpecialHostTimerNeitherAsksNorRenders) {
    Start(0, 1, reinterpret_cast<void*>(static_cast<uintptr_t>(0x00584F51)));
    for (int tick = 0; tick < 5; ++tick) SendMessageA(plugin, WM_TIMER, 1001, 0);
    EXPECT_EQ(Player.queries, 0);
    EXPECT_FALSE(Lit(LeftOfMiddle, LevelRow(DeduzodoSkin)));
}

TEST_F(InputTest, DeduzodoDoubleClickRegions) {
    Start(0);
    FillWaveform(module, 0, 0);
    ASSERT_TRUE(SpectrumShown());
    ASSERT_TRUE(LevelShown());
    const Rows spectrumRows = DeduzodoSkin.spectrumClickRows, levelRows = DeduzodoSkin.levelClickRows;
    const int levelMiddle = (levelRows.top + levelRows.bottom) / 2;
    for (POINT p : {POINT{SpectrumClickColumns.left, spectrumRows.top},
                    POINT{SpectrumClickColumns.right - 1, spectrumRows.bottom - 1}}) {
        DoubleClick(p.x, p.y);
        EXPECT_FALSE(SpectrumShown()) << p.x << "," << p.y;
        EXPECT_TRUE(LevelShown());
        DoubleClick(p.x, p.y);
        EXPECT_TRUE(SpectrumShown());
    }
    for (POINT p :
         {POINT{LeftLevelClickColumns.left, levelRows.top},
          POINT{LeftLevelClickColumns.right - 1, levelRows.bottom - 1}, POINT{RightLevelClickColumns.left, levelMiddle},
          POINT{RightLevelClickColumns.right - 1, levelMiddle}}) {
        DoubleClick(p.x, p.y);
        EXPECT_FALSE(LevelShown()) << p.x << "," << p.y;
        EXPECT_TRUE(SpectrumShown());
        DoubleClick(p.x, p.y);
        EXPECT_TRUE(LevelShown());
    }
    for (POINT p : {POINT{SpectrumClickColumns.left - 1, 10}, POINT{SpectrumClickColumns.right, 10},
                    POINT{100, spectrumRows.top - 1}, POINT{100, spectrumRows.bottom},
                    POINT{LeftLevelClickColumns.left - 1, levelMiddle}, POINT{LeftLevelClickColumns.right, levelMiddle},
                    POINT{RightLevelClickColumns.left - 1, levelMiddle}, POINT{100, levelRows.top - 1},
                    POINT{100, levelRows.bottom}}) {
        DoubleClick(p.x, p.y);
        EXPECT_TRUE(SpectrumShown()) << p.x << "," << p.y;
        EXPECT_TRUE(LevelShown()) << p.x << "," << p.y;
    }
}

TEST_F(InputTest, VuMeterDoubleClickRegions) {
    levelRow = LevelRow(VuMeterSkin);
    Start(1);
    FillWaveform(module, 0, 0);
    ASSERT_TRUE(LevelShown());
    const Rows rows = VuMeterSkin.levelClickRows;
    for (POINT p :
         {POINT{LeftLevelClickColumns.left, rows.top}, POINT{RightLevelClickColumns.right - 1, rows.bottom - 1}}) {
        DoubleClick(p.x, p.y);
        EXPECT_FALSE(LevelShown()) << p.x << "," << p.y;
        DoubleClick(p.x, p.y);
        EXPECT_TRUE(LevelShown());
    }
    for (POINT p : {POINT{100, rows.top - 1}, POINT{100, rows.bottom}, POINT{LeftLevelClickColumns.left - 1, levelRow},
                    POINT{LeftLevelClickColumns.right, levelRow}}) {
        DoubleClick(p.x, p.y);
        EXPECT_TRUE(LevelShown()) << p.x << "," << p.y;
    }
}

TEST_F(InputTest, KeystrokesReachThePlayerWindow) {
    Start(0);
    SendMessageA(plugin, WM_KEYDOWN, 'X', 0x002D0001);
    SendMessageA(plugin, WM_KEYUP, 'X', static_cast<LPARAM>(0xC02D0001u));
    SendMessageA(plugin, WM_CHAR, 'x', 0x002D0001);
    SendMessageA(plugin, WM_SYSKEYDOWN, 'X', 0x202D0001);
    PumpMessages();
    ASSERT_EQ(Player.received.size(), 2u);
    EXPECT_EQ(Player.received[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(Player.received[0].wParam, static_cast<WPARAM>('X'));
    EXPECT_EQ(Player.received[0].lParam, 0x002D0001);
    EXPECT_EQ(Player.received[1].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(Player.received[1].lParam, static_cast<LPARAM>(0xC02D0001u));
}

TEST_F(InputTest, UnknownCommandDoesNothing) {
    Start(0);
    EXPECT_EQ(SendMessageA(plugin, WM_COMMAND, 4, 0), 0);
    EXPECT_EQ(SendMessageA(plugin, WM_COMMAND, MAKEWPARAM(3, 1), 0), 0);
    EXPECT_TRUE(IsWindow(plugin));
}

// A drag by hand: the grab point stays under the cursor, a move with Shift
// held is no drag step, and the release ends the drag even where the cursor
// left the window (ticks render again), while the press held them back.
// Then the cursor outruns the window past its left and top edges in one
// move: the client point is negative there, not 65,536 pixels to the right.
TEST_F(InputTest, DragByHandHoldsTheGrabPointUntilTheRelease) {
    Start(0, 0);
    MoveWindow(plugin, 600, 600, SkinWidth, DeduzodoSkin.height, TRUE);
    MoveMouseTo(610, 605);
    PressLeft();
    SendMessageA(plugin, WM_TIMER, 1001, 0);
    EXPECT_EQ(Player.queries, 0);
    for (POINT to : {POINT{630, 615}, POINT{650, 625}, POINT{670, 640}}) {
        MoveMouseTo(to.x, to.y);
        EXPECT_EQ(WindowRectOf(plugin).left, to.x - 10);
        EXPECT_EQ(WindowRectOf(plugin).top, to.y - 5);
    }
    HoldShift(true);
    MoveMouseTo(760, 760);
    HoldShift(false);
    EXPECT_EQ(WindowRectOf(plugin).left, 660);
    ReleaseLeft();
    SendMessageA(plugin, WM_TIMER, 1001, 0);
    EXPECT_EQ(Player.queries, 1);

    MoveMouseTo(680, 645);
    PressLeft();
    MoveMouseTo(150, 200);
    EXPECT_EQ(WindowRectOf(plugin).left, 130);
    EXPECT_EQ(WindowRectOf(plugin).top, 190);
    ReleaseLeft();
    module->Quit(module);
    module = nullptr;
    // The position reached by dragging is what the settings keep.
    EXPECT_EQ(GetPrivateProfileIntA(DeduzodoSection, "X", -1, PluginIniPath().c_str()), 130);
    EXPECT_EQ(GetPrivateProfileIntA(DeduzodoSection, "Y", -1, PluginIniPath().c_str()), 190);
}

// The user presses on the docked strip, slides onto the player window and
// lets go there: the strip stays put and the display keeps running.
TEST_F(InputTest, PressOnTheDockedStripReleasedOnThePlayerWindow) {
    Start(0, 1);
    const RECT docked = WindowRectOf(plugin);
    MoveMouseTo(docked.left + 50, docked.top + 10);
    PressLeft();
    MoveMouseTo(docked.left + 50, PlayerTop + 40);
    ReleaseLeft();
    EXPECT_EQ(WindowRectOf(plugin).top, docked.top);
    for (int tick = 0; tick < 3; ++tick) SendMessageA(plugin, WM_TIMER, 1001, 0);
    EXPECT_EQ(Player.queries, 3);
    // The player starts: a tick learns it, and the loud DC term shows.
    Player.playingAnswer = 1;
    SendMessageA(plugin, WM_TIMER, 1001, 0);
    FillWaveform(module, 0x80, 0x80);
    Render(1);
    EXPECT_TRUE(Lit(BarLeft(1), SpectrumRows.top + 2));
}

// Moves drag only during a press that this window holds: not after a press
// on another window, nor once another window took the capture (a menu, a
// switch of tasks), which ends the drag as a release does.
TEST_F(InputTest, NoDragWithoutAPressThisWindowHolds) {
    Start(0, 0);
    MoveWindow(plugin, 600, 600, SkinWidth, DeduzodoSkin.height, TRUE);
    MoveMouseTo(PlayerLeft + 100, PlayerTop + 50);
    PressLeft();
    MoveMouseTo(610, 610);
    MoveMouseTo(650, 640);
    ReleaseLeft();
    EXPECT_EQ(WindowRectOf(plugin).left, 600) << "begun elsewhere";
    EXPECT_EQ(WindowRectOf(plugin).top, 600) << "begun elsewhere";

    PressLeft();
    SetCapture(Player.window);
    PumpMessages();
    ReleaseCapture();
    MoveMouseTo(660, 645);
    EXPECT_EQ(WindowRectOf(plugin).left, 600) << "capture lost";
    SendMessageA(plugin, WM_TIMER, 1001, 0);
    EXPECT_EQ(Player.queries, 1);
    ReleaseLeft();
}

// A double-click toggles the spectrum at normal size and, on the halved
// point, at double size.
TEST_F(InputTest, DoubleClickTogglesAtBothSizes) {
    Start(0);
    FillWaveform(module, 0, 0);
    ASSERT_TRUE(SpectrumShown());
    RECT window = WindowRectOf(plugin);
    MoveMouseTo(window.left + SpectrumClickColumns.left, window.top + 10);
    DoubleClickLeft();
    EXPECT_FALSE(SpectrumShown());
    MovePlayerWindow(PlayerLeft, PlayerTop, 550, 232);
    Render(1);
    window = WindowRectOf(plugin);
    ASSERT_EQ(window.right - window.left, 2 * SkinWidth);
    const int x = 2 * BarLeft(1), y = 2 * RestingBarRow;  // bar 1 at rest, doubled
    MoveMouseTo(window.left + 2 * SpectrumClickColumns.left - 1, window.top + 10);
    DoubleClickLeft();
    Render(1);
    EXPECT_FALSE(Lit(x, y));
    MoveMouseTo(window.left + 2 * SpectrumClickColumns.left, window.top + 10);
    DoubleClickLeft();
    Render(1);
    EXPECT_TRUE(Lit(x, y));
}

TEST_F(InputTest, RightClickOpensTheMenuAtTheClick) {
    Start(0, 0);
    MoveWindow(plugin, 200, 150, SkinWidth, DeduzodoSkin.height, TRUE);
    HWND target = plugin;
    std::atomic<bool> seen{false};
    std::atomic<int> menuLeft{-1}, menuTop{-1};
    std::thread closer([&] {
        for (int i = 0; i < 300 && !seen; ++i) {
            HWND menu = FindWindowA("#32768", nullptr);
            if (menu && IsWindowVisible(menu)) {
                RECT rect;
                GetWindowRect(menu, &rect);
                menuLeft = rect.left;
                menuTop = rect.top;
                seen = true;
                // Cancelling the owner's modes ends the menu's loop.
                SendMessageTimeoutA(target, WM_CANCELMODE, 0, 0, SMTO_NORMAL, 2000, nullptr);
                return;
            }
            Sleep(10);
        }
    });
    MoveMouseTo(240, 170);
    PressRight();
    closer.join();
    ReleaseRight();
    ASSERT_TRUE(seen);
    EXPECT_EQ(menuLeft.load(), 240);
    EXPECT_EQ(menuTop.load(), 170);
    EXPECT_TRUE(IsWindow(plugin));
}

// The player runs the module on a thread of its own that pumps the window's
// messages, with its main window on the main thread.
TEST_F(InputTest, ModuleOnItsOwnThread) {
    WriteModeSetting(DeduzodoSection, 1);
    winampVisModule* record = GetModule(0);
    record->hwndParent = Player.window;
    record->hDllInstance = GetModuleHandleA("vis_kt.dll");
    std::atomic<int> frames{0};
    std::atomic<bool> initOk{false};
    std::thread vis([&] {
        if (record->Init(record) != 0) return;
        initOk = true;
        FillWaveform(record, 0x30, 0x30);
        for (int i = 0; i < 40; ++i) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            record->Render(record);
            ++frames;
            Sleep(5);
        }
        record->Quit(record);
    });
    // Meanwhile the player's main thread moves its window and answers queries.
    for (int i = 0; !(frames >= 40 && vis.joinable()) && i < 2000; ++i) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        PumpMessages();
        if (i == 20) MoveWindow(Player.window, 160, 320, PlayerWidth, PlayerHeight, TRUE);
        if (frames >= 40) break;
    }
    vis.join();
    EXPECT_TRUE(initOk);
    EXPECT_EQ(frames.load(), 40);
    EXPECT_EQ(FindPluginWindow(), nullptr);
}
