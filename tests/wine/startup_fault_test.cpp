// Faults around a running module, counted at the DLL's imports: start-ups
// that fail or find a class left registered, and the start-up after them, and a player window that goes away
// while the module runs.
#include "tests/wine/accounting_fixture.h"
#include "tests/wine/plugin_library.h"

namespace {

int Kind(Held kind) { return static_cast<int>(kind); }

int MadeTotal() {
    int total = 0;
    for (int count : Ledger.made) total += count;
    return total;
}

}  // namespace

class StartupFaultTest : public AccountingTest {
protected:
    // A normal run after a failed one: starts, draws, and releases all.
    void ExpectNormalRun(int index) {
        Ledger.ResetCounts();
        Start(index);
        EXPECT_EQ(Ledger.messageBoxes, 0);
        EXPECT_EQ(Ledger.HeldNow(Held::Window), 1);
        Render(1);
        EXPECT_EQ(Ledger.getDCs, 1);
        module->Quit(module);
        module = nullptr;
        EXPECT_EQ(Ledger.HeldTotal(), 0) << DescribeHeld();
    }
};

TEST_F(StartupFaultTest, ClassLeftRegisteredIsReplaced) {
    // As an earlier load of the library leaves it: registered for our
    // instance, with a procedure that is not this load's.
    WNDCLASSA stale = {};
    stale.lpfnWndProc = DefWindowProcA;
    stale.hInstance = LoadPluginLibrary().module;
    stale.lpszClassName = "DAVevUri";
    ASSERT_NE(RegisterClassA(&stale), 0);

    ExpectNormalRun(0);
    // Start-up unregistered the stale class, which the ledger never saw made.
    ASSERT_EQ(Ledger.faults.size(), 1u);
    EXPECT_EQ(Ledger.faults[0], "UnregisterClassA of a class not held");
    Ledger.faults.clear();
    WNDCLASSA found = {};
    EXPECT_FALSE(GetClassInfoA(LoadPluginLibrary().module, "DAVevUri", &found));
}

TEST_F(StartupFaultTest, WindowCreationFails) {
    Ledger.createWindowFailures = 1;
    module = GetModule(1);
    EXPECT_EQ(StartModule(module), 1);
    EXPECT_EQ(Ledger.messageBoxes, 1);
    EXPECT_EQ(Ledger.lastMessage, "Error creating window");
    // Only the class was made, and it is given back at once.
    EXPECT_EQ(MadeTotal(), 1);
    EXPECT_EQ(Ledger.released[Kind(Held::WindowClass)], 1);
    EXPECT_EQ(Ledger.HeldTotal(), 0) << DescribeHeld();
    EXPECT_EQ(Ledger.fills, 0);
    module->Quit(module);
    EXPECT_EQ(Ledger.released[Kind(Held::WindowClass)], 1);
    EXPECT_TRUE(Ledger.faults.empty()) << Ledger.faults.front();
    module = nullptr;

    ExpectNormalRun(1);
}

// Not docked the window has no owner and outlives the player window; docked
// it is owned and goes with it. Either way rendering goes on without moving
// anything, and shut-down releases everything once.
class PlayerGoneTest : public AccountingTest, public ::testing::WithParamInterface<int> {};

TEST_P(PlayerGoneTest, RenderingGoesOnAndQuitReleasesAll) {
    const int mode = GetParam();
    Start(0, mode);
    Render(2);
    const RECT before = WindowRectOf(plugin);
    ClosePlayerWindow();
    PumpMessages();
    const bool owned = (mode & 1) != 0;
    EXPECT_EQ(IsWindow(plugin) != FALSE, !owned);

    Ledger.ResetCounts();
    FillWaveform(module, 0x30, 0xD0);
    for (int frame = 0; frame < 50; ++frame) EXPECT_EQ(module->Render(module), 0);
    // A window destroyed with the player is drawn no more; one that stays
    // still shows the new signal.
    EXPECT_EQ(Ledger.fills > 0, !owned);
    EXPECT_EQ(Ledger.getDCs > 0, !owned);
    EXPECT_EQ(Ledger.releaseDCs, Ledger.getDCs);
    if (!owned) {
        const RECT after = WindowRectOf(plugin);
        EXPECT_TRUE(EqualRect(&before, &after));
    }
    EXPECT_TRUE(Ledger.faults.empty()) << Ledger.faults.front();

    module->Quit(module);
    module = nullptr;
    EXPECT_EQ(Ledger.HeldTotal(), 0) << DescribeHeld();
    EXPECT_EQ(Ledger.released[Kind(Held::Surface)], 2);
    EXPECT_EQ(Ledger.released[Kind(Held::Bitmap)], 2);
    EXPECT_EQ(Ledger.released[Kind(Held::Brush)], 1);
    EXPECT_EQ(Ledger.released[Kind(Held::WindowClass)], 1);
    EXPECT_EQ(FindPluginWindow(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Modes, PlayerGoneTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& test) { return test.param ? "Docked" : "Free"; });
