// What the real DLL makes and releases, counted at its imports: start-up and
// shut-down, repeated and late calls, the fills and window surfaces of each
// frame, many runs in one process and a drag cut short by shut-down.
#include <string>

#include "host/win/import_table.h"
#include "tests/wine/accounting_fixture.h"
#include "tests/wine/plugin_library.h"

namespace {

int Kind(Held kind) { return static_cast<int>(kind); }

// Each object start-up makes, by kind, and the SelectObject calls of the
// three selections made at start-up and undone at shut-down.
void ExpectStartupObjects() {
    EXPECT_EQ(Ledger.made[Kind(Held::Surface)], 2);
    EXPECT_EQ(Ledger.made[Kind(Held::Bitmap)], 2);
    EXPECT_EQ(Ledger.made[Kind(Held::Brush)], 1);
    EXPECT_EQ(Ledger.made[Kind(Held::Window)], 1);
    EXPECT_EQ(Ledger.made[Kind(Held::Menu)], 1);
    EXPECT_EQ(Ledger.made[Kind(Held::WindowClass)], 1);
    EXPECT_EQ(Ledger.made[Kind(Held::Timer)], 1);
    EXPECT_EQ(Ledger.HeldTotal(), 9) << DescribeHeld();
}

// Everything made since the counts were reset was released exactly once: a
// second release of any handle is a fault, and nothing is left.
void ExpectAllReleasedOnce() {
    for (int kind = 0; kind < Kind(Held::Kinds); ++kind) {
        EXPECT_EQ(Ledger.released[kind], Ledger.made[kind]) << "kind " << kind;
    }
    EXPECT_EQ(Ledger.HeldTotal(), 0) << DescribeHeld();
    EXPECT_TRUE(Ledger.faults.empty()) << Ledger.faults.front();
}

struct Counts {
    int fills, copies, getDCs, releaseDCs, releasedTotal, clipCalls;
};

Counts Now() {
    int releasedTotal = 0;
    for (int count : Ledger.released) releasedTotal += count;
    return {Ledger.fills, Ledger.copies, Ledger.getDCs, Ledger.releaseDCs, releasedTotal, Ledger.clipCalls};
}

void ExpectUnchangedSince(const Counts& before, const char* step) {
    const Counts after = Now();
    EXPECT_EQ(after.fills, before.fills) << step;
    EXPECT_EQ(after.copies, before.copies) << step;
    EXPECT_EQ(after.getDCs, before.getDCs) << step;
    EXPECT_EQ(after.releaseDCs, before.releaseDCs) << step;
    EXPECT_EQ(after.releasedTotal, before.releasedTotal) << step;
    EXPECT_TRUE(Ledger.faults.empty()) << step << ": " << Ledger.faults.front();
}

}  // namespace

TEST_F(AccountingTest, EveryListedCallIsRedirected) {
    // SetUp fails the test for any listed function the DLL does not import;
    // a start-up must then pass through the counting wrappers.
    Start(0);
    EXPECT_GT(Ledger.made[Kind(Held::Surface)], 0);
}

TEST_F(AccountingTest, LedgerReportsAReleaseOfWhatIsNotHeld) {
    // The DLL's import slot now holds the counting wrapper; read it and put
    // it back.
    HMODULE dll = LoadPluginLibrary().module;
    void* slot = PatchImport(dll, "gdi32.dll", "DeleteObject", nullptr);
    ASSERT_NE(slot, nullptr);
    PatchImport(dll, "gdi32.dll", "DeleteObject", slot);
    ASSERT_NE(slot, reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("gdi32.dll"), "DeleteObject")));
    // A stock brush is never the plug-in's: deleting it is reported.
    reinterpret_cast<BOOL(WINAPI*)(HGDIOBJ)>(slot)(GetStockObject(BLACK_BRUSH));
    ASSERT_EQ(Ledger.faults.size(), 1u);
    EXPECT_EQ(Ledger.faults[0], "DeleteObject of an object not held");
    Ledger.faults.clear();
}

struct SizeCase {
    int index;
    bool doubleSize;
};

class StartStopTest : public AccountingTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(StartStopTest, QuitReleasesEveryObjectOnce) {
    StartSized(GetParam().index, GetParam().doubleSize);
    ExpectStartupObjects();
    EXPECT_EQ(Ledger.selects, 3);
    Render(3);
    module->Quit(module);
    ExpectAllReleasedOnce();
    EXPECT_EQ(Ledger.selects, 6);
    EXPECT_EQ(FindPluginWindow(), nullptr);
    module = nullptr;
}

TEST_P(StartStopTest, SecondQuitAndLateRenderTouchNothing) {
    StartSized(GetParam().index, GetParam().doubleSize);
    module->Quit(module);
    const Counts afterQuit = Now();
    module->Quit(module);
    ExpectUnchangedSince(afterQuit, "second Quit");
    EXPECT_EQ(module->Render(module), 0);
    ExpectUnchangedSince(afterQuit, "Render after Quit");
    ExpectAllReleasedOnce();
    module = nullptr;
}

TEST_P(StartStopTest, CloseCommandThenPlayerQuit) {
    StartSized(GetParam().index, GetParam().doubleSize);
    EXPECT_EQ(SendMessageA(plugin, WM_COMMAND, 3, 0), 0);
    ExpectAllReleasedOnce();
    const Counts afterClose = Now();
    EXPECT_EQ(module->Render(module), 0);
    ExpectUnchangedSince(afterClose, "Render after Close");
    module->Quit(module);
    ExpectUnchangedSince(afterClose, "player's Quit after Close");
    ExpectAllReleasedOnce();
    module = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Modules, StartStopTest,
                         ::testing::Values(SizeCase{0, false}, SizeCase{0, true}, SizeCase{1, false},
                                           SizeCase{1, true}),
                         [](const ::testing::TestParamInfo<SizeCase>& test) {
                             return std::string(test.param.index ? "VuMeter" : "Deduzodo") +
                                    (test.param.doubleSize ? "Double" : "Single");
                         });

class FrameCostTest : public AccountingTest, public ::testing::WithParamInterface<bool> {
protected:
    // One frame of the running module: drawn (the restore and the
    // presentation copies, one window surface fetched and released, the
    // fills that paint something) or, when its picture is already shown, no
    // drawing call at all. Fills of nothing are faults of the ledger.
    void ExpectFrame(bool drawn, const char* step) {
        Ledger.ResetCounts();
        EXPECT_EQ(module->Render(module), 0);
        EXPECT_EQ(Ledger.copies, drawn ? 2 : 0) << step;
        EXPECT_EQ(Ledger.getDCs, drawn ? 1 : 0) << step;
        EXPECT_EQ(Ledger.releaseDCs, drawn ? 1 : 0) << step;
        EXPECT_EQ(Ledger.fills > 0, drawn) << step;
        EXPECT_EQ(Ledger.HeldNow(Held::WindowDC), 0) << step;
    }
    // Silence, rendered until the bars and every peak mark have come to rest.
    void ComeToRest() {
        FillWaveform(module, 0, 0);
        Render(SpectrumBarRows + 2);
    }
};

TEST_P(FrameCostTest, DeduzodoDrawsOnlyAChangedPicture) {
    const bool doubleSize = GetParam();
    StartSized(0, doubleSize);
    ExpectFrame(true, "first frame");
    ComeToRest();
    ExpectFrame(false, "at rest");
    ExpectFrame(false, "at rest, again");
    DoubleClick(SpectrumClickX, SpectrumClickY, doubleSize);
    ExpectFrame(true, "spectrum hidden");
    ExpectFrame(false, "spectrum hidden, at rest");
    DoubleClick(LevelClickX, LevelClickY, doubleSize);
    ExpectFrame(true, "both hidden");
    DoubleClick(SpectrumClickX, SpectrumClickY, doubleSize);
    DoubleClick(LevelClickX, LevelClickY, doubleSize);
    ExpectFrame(true, "both shown once more");
    ExpectFrame(false, "both shown, at rest");
    FillWaveform(module, 0x80, 0x80);
    ExpectFrame(true, "a loud signal");
}

TEST_P(FrameCostTest, VuMeterDrawsOnlyAChangedPicture) {
    const bool doubleSize = GetParam();
    StartSized(1, doubleSize);
    ComeToRest();
    ExpectFrame(false, "at rest");
    DoubleClick(LevelClickX, VuLevelClickY, doubleSize);
    ExpectFrame(true, "level meter hidden");
    ExpectFrame(false, "level meter hidden, at rest");
}

INSTANTIATE_TEST_SUITE_P(Sizes, FrameCostTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& test) { return test.param ? "Double" : "Single"; });

TEST_F(AccountingTest, ThousandRunsInOneProcessHoldNothing) {
    const int modes[] = {0, 1, 3, 5};
    for (int run = 0; run < 1000; ++run) {
        const int index = run % 2;
        const bool doubleSize = (run / 2) % 2 == 1;
        StartSized(index, doubleSize, modes[(run / 4) % 4]);
        if (HasFailure()) return;
        Render(1);
        module->Quit(module);
        ASSERT_EQ(Ledger.HeldTotal(), 0) << "run " << run << ": " << DescribeHeld();
        ASSERT_TRUE(Ledger.faults.empty()) << "run " << run << ": " << Ledger.faults.front();
    }
    module = nullptr;
    ExpectAllReleasedOnce();
    EXPECT_EQ(Ledger.made[Kind(Held::Window)], 1000);
    EXPECT_EQ(Ledger.made[Kind(Held::Surface)], 2000);
}

TEST_F(AccountingTest, QuitDuringDragFreesTheCursor) {
    Start(0, 0);
    SendMessageA(plugin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(plugin, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 20));
    ASSERT_GT(Ledger.clipCalls, 0);
    EXPECT_TRUE(Ledger.cursorClipped);
    EXPECT_EQ(Ledger.clipReleases, 0);
    module->Quit(module);
    module = nullptr;
    EXPECT_FALSE(Ledger.cursorClipped);
    EXPECT_EQ(Ledger.clipReleases, 1);
    ExpectAllReleasedOnce();
}
