// Start-up and shut-down of the real DLL, seen from the player's side.
#include <atomic>
#include <string>
#include <thread>

#include "tests/wine/plugin_library.h"
#include "tests/wine/window_fixture.h"

namespace {

void ExpectRect(const RECT& rect, int left, int top, int width, int height) {
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

bool IsTopmost(HWND window) { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

}  // namespace

struct ModeCase {
    int mode;
    bool owned, topmost;
    int left, top;
};

class DockModeTest : public WindowTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(DockModeTest, WindowPlacedOwnedAndLayeredByMode) {
    const ModeCase& c = GetParam();
    Start(0, c.mode);
    ExpectRect(WindowRectOf(plugin), c.left, c.top, SkinWidth, DeduzodoSkin.height);
    EXPECT_EQ(GetWindow(plugin, GW_OWNER), c.owned ? Player.window : nullptr);
    EXPECT_EQ(IsTopmost(plugin), c.topmost);
    // The system adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(plugin, GWL_STYLE)) & ~(WS_VISIBLE | WS_CLIPSIBLINGS),
              static_cast<DWORD>(WS_POPUP));
    EXPECT_TRUE(IsWindowVisible(plugin));
    EXPECT_EQ(GetWindowLongA(plugin, GWL_EXSTYLE) & ~WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetClassLongA(plugin, GCL_STYLE), static_cast<DWORD>(CS_DBLCLKS));
}

INSTANTIATE_TEST_SUITE_P(Modes, DockModeTest,
                         ::testing::Values(ModeCase{0, false, false, 0, 0}, ModeCase{2, false, false, 0, 0},
                                           ModeCase{1, true, false, PlayerLeft, PlayerTop + PlayerHeight},
                                           ModeCase{3, true, false, PlayerLeft, PlayerTop - DeduzodoSkin.height},
                                           ModeCase{5, true, true, PlayerLeft, PlayerTop + PlayerHeight}),
                         [](const ::testing::TestParamInfo<ModeCase>& test) {
                             return "Mode" + std::to_string(test.param.mode);
                         });

TEST_F(WindowTest, DoubleSizeAbove400Pixels) {
    MovePlayerWindow(PlayerLeft, PlayerTop, 400, PlayerHeight);
    Start(0);
    ExpectRect(WindowRectOf(plugin), PlayerLeft, PlayerTop + PlayerHeight, SkinWidth, DeduzodoSkin.height);
    module->Quit(module);
    EXPECT_EQ(FindPluginWindow(), nullptr);
    MovePlayerWindow(PlayerLeft, PlayerTop, 401, PlayerHeight);
    Start(1);
    ExpectRect(WindowRectOf(plugin), PlayerLeft, PlayerTop + PlayerHeight, 2 * SkinWidth, 2 * VuMeterSkin.height);
    // The library stays loaded: the next start beside a narrow player is single size again.
    module->Quit(module);
    MovePlayerWindow(PlayerLeft, PlayerTop, PlayerWidth, PlayerHeight);
    Start(0);
    ExpectRect(WindowRectOf(plugin), PlayerLeft, PlayerTop + PlayerHeight, SkinWidth, DeduzodoSkin.height);
}

TEST_F(WindowTest, SpecialHostShiftsDockedWindowOnly) {
    void* magic = reinterpret_cast<void*>(static_cast<uintptr_t>(0x00584F51));
    Start(0, 1, magic);
    EXPECT_EQ(WindowRectOf(plugin).left, PlayerLeft + 26);
    module->Quit(module);
    // Free, the window stands at the stored position whatever the magic.
    WritePrivateProfileStringA(DeduzodoSection, "X", "40", PluginIniPath().c_str());
    Start(0, 0, magic);
    EXPECT_EQ(WindowRectOf(plugin).left, 40);
    // A later start without the magic docks at the player's edge again.
    module->Quit(module);
    Start(0, 1);
    EXPECT_EQ(WindowRectOf(plugin).left, PlayerLeft);
}

TEST_F(WindowTest, HostMagicMustBeTheValueItself) {
    static char text[] = "QOX";
    Start(0, 1, text);
    EXPECT_EQ(WindowRectOf(plugin).left, PlayerLeft);
    module->Quit(module);
    Start(0, 1, reinterpret_cast<void*>(static_cast<uintptr_t>(0x20584F51)));
    EXPECT_EQ(WindowRectOf(plugin).left, PlayerLeft);
}

TEST_F(WindowTest, LayoutFollowsTheLastGetterCall) {
    // A VU-Meter record started after a getter call for index 0 gets the
    // Deduzodo's window and skin.
    winampVisModule* vuMeter = GetModule(1);
    GetModule(0);
    WriteModeSetting(VuMeterSection, 1);
    module = vuMeter;
    ASSERT_EQ(StartModule(module), 0);
    plugin = FindPluginWindow();
    EXPECT_EQ(WindowRectOf(plugin).bottom - WindowRectOf(plugin).top, DeduzodoSkin.height);
    module->Quit(module);

    // An out-of-range getter call selects the Deduzodo layout as well.
    GetModule(7);
    ASSERT_EQ(StartModule(module), 0);
    plugin = FindPluginWindow();
    EXPECT_EQ(WindowRectOf(plugin).bottom - WindowRectOf(plugin).top, DeduzodoSkin.height);
    Render(3);
    // Only the Deduzodo skin has spectrum bars, lit in their bottom row at rest.
    EXPECT_TRUE(Lit(BarLeft(1), RestingBarRow));
}

TEST_F(WindowTest, StartupMasksShowEveryMeterDark) {
    Start(0);
    UpdateWindow(plugin);
    PumpMessages();
    const Rows bars = DeduzodoSkin.levelBarRows;
    for (int x : {BassColumns.left + 1, BarLeft(1), 100, LeftBarInner, RightBarInner, 200, RightBarOuter}) {
        for (int y : {SpectrumRows.top, 20, RestingBarRow, bars.top, bars.bottom - 1}) {
            EXPECT_FALSE(Lit(x, y)) << x << "," << y;
        }
    }
    EXPECT_TRUE(Lit(LeftBevel.left + 1, 20));  // the frame is shown as stored
}

TEST_F(WindowTest, VuMeterStartupMasksReachTheRimRow) {
    Start(1);
    UpdateWindow(plugin);
    PumpMessages();
    const Rows band = VuMeterSkin.levelBand;
    for (int x : {LeftBarOuter, 100, LeftBarInner, RightBarInner, RightBarOuter}) {
        for (int y : {band.top, band.top + 1, band.bottom - 1}) EXPECT_FALSE(Lit(x, y)) << x << "," << y;
    }
}

TEST_F(WindowTest, RegistrationFailureShowsOneBoxAndReturnsOne) {
    module = GetModule(0);
    WNDCLASSA taken = {};
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = LoadPluginLibrary().module;
    taken.lpszClassName = "DAVevUri";
    ASSERT_NE(RegisterClassA(&taken), 0);
    // A window of it that is not the plug-in's keeps the class from being
    // replaced.
    HWND foreign = CreateWindowExA(0, "DAVevUri", "", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, taken.hInstance, nullptr);
    ASSERT_NE(foreign, nullptr);

    std::atomic<bool> done{false};
    std::atomic<int> boxes{0};
    std::string text;
    std::thread watcher([&] {
        while (!done) {
            HWND box = FindWindowA("#32770", "Shit !");
            if (box) {
                char buffer[128] = {};
                GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
                text = buffer;
                ++boxes;
                SendMessageA(box, WM_COMMAND, IDOK, 0);
                while (IsWindow(box)) Sleep(5);
            }
            Sleep(10);
        }
    });
    const int result = StartModule(module);
    done = true;
    watcher.join();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(boxes.load(), 1);
    EXPECT_EQ(text, "Error registering window class");
    EXPECT_EQ(FindPluginWindow(), nullptr);
    EXPECT_TRUE(IsWindow(foreign));
    module->Quit(module);  // releases only what that start-up made
    module = nullptr;
    DestroyWindow(foreign);
    UnregisterClassA("DAVevUri", LoadPluginLibrary().module);
}

TEST_F(WindowTest, CloseCommandQuitsAndLaterCallsDoNothing) {
    Start(0);
    EXPECT_EQ(SendMessageA(plugin, WM_COMMAND, 3, 0), 0);
    EXPECT_EQ(FindPluginWindow(), nullptr);
    EXPECT_FALSE(IsWindow(plugin));
    // The player still renders once and then quits.
    EXPECT_EQ(module->Render(module), 0);
    module->Quit(module);
    module->Quit(module);
    EXPECT_EQ(FindPluginWindow(), nullptr);
    // A new run in the same process starts normally.
    Start(1);
    EXPECT_NE(plugin, nullptr);
}

TEST_F(WindowTest, HundredStartsAlternatingModules) {
    for (int run = 0; run < 100; ++run) {
        Start(run % 2, run % 4 == 3 ? 5 : 1);
        Render(2);
        module->Quit(module);
        ASSERT_EQ(FindPluginWindow(), nullptr) << run;
    }
    module = nullptr;
}
