// The Configure dialog of the real DLL, opened from the player's Config entry
// and from the context menu, driven as a user would.
#include <atomic>
#include <fstream>
#include <sstream>

#include "tests/wine/dialog_driver.h"
#include "tests/wine/window_fixture.h"

namespace {

constexpr const char* ConfigTitle = "Configure Deduzodo";
constexpr int Ok = 101, Cancel = 102, Attach = 110, AtTop = 111, AtBottom = 112, OnTop = 115;

std::string IniText() {
    std::ifstream in(PluginIniPath(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int StoredInt(const char* key) { return GetPrivateProfileIntA(DeduzodoSection, key, -999, PluginIniPath().c_str()); }

BOOL CALLBACK CountConfigDialogs(HWND window, LPARAM count) {
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (lstrcmpA(title, ConfigTitle) == 0) ++*reinterpret_cast<std::atomic<int>*>(count);
    return TRUE;
}

}  // namespace

class ConfigTest : public WindowTest {
protected:
    // Calls the module's Config entry with no module running.
    void ConfigWithoutModule(int storedMode, std::function<void(HWND)> drive) {
        WriteModeSetting(DeduzodoSection, storedMode);
        winampVisModule* record = GetModule(0);
        record->hwndParent = Player.window;
        record->hDllInstance = GetModuleHandleA("vis_kt.dll");
        DialogDriver driver(ConfigTitle, drive);
        record->Config(record);
        driver.join();
        EXPECT_TRUE(driver.found());
    }
    // Opens the dialog from the running window's context menu command.
    void ConfigFromMenu(std::function<void(HWND)> drive) {
        DialogDriver driver(ConfigTitle, drive);
        SendMessageA(plugin, WM_COMMAND, 2, 0);
        driver.join();
        EXPECT_TRUE(driver.found());
    }
};

struct MarksCase {
    int mode;
    bool attach, top, bottom, onTop;
};

class ConfigMarksTest : public ConfigTest, public ::testing::WithParamInterface<MarksCase> {};

TEST_P(ConfigMarksTest, MarksAndEnabledStatesAtOpen) {
    const MarksCase c = GetParam();
    ConfigWithoutModule(c.mode, [&](HWND dialog) {
        EXPECT_EQ(Checked(dialog, Attach), c.attach);
        EXPECT_EQ(Checked(dialog, AtTop), c.top);
        EXPECT_EQ(Checked(dialog, AtBottom), c.bottom);
        EXPECT_EQ(Checked(dialog, OnTop), c.onTop);
        EXPECT_EQ(Enabled(dialog, AtTop), c.attach);
        EXPECT_EQ(Enabled(dialog, AtBottom), c.attach);
        Click(dialog, Cancel);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ConfigMarksTest,
    ::testing::Values(MarksCase{0, false, false, true, false}, MarksCase{1, true, false, true, false},
                      MarksCase{3, true, true, false, false}, MarksCase{5, true, false, true, true}),
    [](const ::testing::TestParamInfo<MarksCase>& test) { return "Mode" + std::to_string(test.param.mode); });

TEST_F(ConfigTest, UnmarkingAttachGreysThePlacesButKeepsThem) {
    ConfigWithoutModule(3, [](HWND dialog) {
        Click(dialog, Attach);
        EXPECT_FALSE(Checked(dialog, Attach));
        EXPECT_FALSE(Enabled(dialog, AtTop));
        EXPECT_FALSE(Enabled(dialog, AtBottom));
        EXPECT_TRUE(Checked(dialog, AtTop));
        Click(dialog, Attach);
        EXPECT_TRUE(Enabled(dialog, AtTop));
        EXPECT_TRUE(Enabled(dialog, AtBottom));
        Click(dialog, Attach);
        Click(dialog, Ok);
    });
    EXPECT_EQ(StoredInt("Mode"), 2);  // bit 1 kept while detached
}

TEST_F(ConfigTest, CancelEscAndCloseBoxChangeNothing) {
    const auto cancelWith = [](std::function<void(HWND)> close) {
        return [close](HWND dialog) {
            Click(dialog, AtTop);
            Click(dialog, OnTop);
            Click(dialog, Attach);
            close(dialog);
        };
    };
    WriteModeSetting(DeduzodoSection, 1);
    const std::string before = IniText();
    ConfigWithoutModule(1, cancelWith([](HWND dialog) { Click(dialog, Cancel); }));
    ConfigWithoutModule(1, cancelWith([](HWND dialog) { PressKey(dialog, VK_ESCAPE); }));
    ConfigWithoutModule(1, cancelWith([](HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }));
    EXPECT_EQ(IniText(), before);
}

TEST_F(ConfigTest, EnterConfirmsUnlessCancelHasTheFocus) {
    ConfigWithoutModule(1, [](HWND dialog) {
        Click(dialog, OnTop);
        PressKey(dialog, VK_RETURN);
    });
    EXPECT_EQ(StoredInt("Mode"), 5);
}

TEST_F(ConfigTest, OkWithoutModuleWritesModeAndPosition) {
    // Stored free: X and Y keep their stored values.
    WritePrivateProfileStringA(DeduzodoSection, "X", "-120", PluginIniPath().c_str());
    WritePrivateProfileStringA(DeduzodoSection, "Y", "35", PluginIniPath().c_str());
    ConfigWithoutModule(0, [](HWND dialog) {
        Click(dialog, OnTop);
        Click(dialog, Ok);
    });
    EXPECT_EQ(StoredInt("Mode"), 4);
    EXPECT_EQ(StoredInt("X"), -120);
    EXPECT_EQ(StoredInt("Y"), 35);
    // Stored attached: X and Y get the position in memory, which is still the
    // stored free one read above.
    ConfigWithoutModule(1, [](HWND dialog) { Click(dialog, Ok); });
    EXPECT_EQ(StoredInt("Mode"), 1);
    EXPECT_EQ(StoredInt("X"), -120);
}

TEST_F(ConfigTest, OkWithAttachMovesTheFloatingWindowAtOnce) {
    Start(0, 0);
    ASSERT_EQ(WindowRectOf(plugin).left, 0);
    ConfigFromMenu([](HWND dialog) {
        Click(dialog, Attach);
        Click(dialog, Ok);
    });
    const RECT rect = WindowRectOf(plugin);
    EXPECT_EQ(rect.left, PlayerLeft);
    EXPECT_EQ(rect.top, PlayerTop + PlayerHeight);
    EXPECT_EQ(GetWindow(plugin, GW_OWNER), nullptr);  // the owner chosen at start-up stays
}

TEST_F(ConfigTest, RedocksEvenWhenThePlayerTopIsMinusTen) {
    MovePlayerWindow(PlayerLeft, -10, PlayerWidth, PlayerHeight);
    Start(0, 0);
    ConfigFromMenu([](HWND dialog) {
        Click(dialog, Attach);
        Click(dialog, AtTop);
        Click(dialog, Ok);
    });
    EXPECT_EQ(WindowRectOf(plugin).top, -10 - DeduzodoSkin.height);
    EXPECT_EQ(WindowRectOf(plugin).left, PlayerLeft);
}

// A free window: Wine keeps an owned window topmost whatever it is told.
TEST_F(ConfigTest, OkWithOnTopUnmarkedLeavesTheTopmostBand) {
    Start(0, 4);
    ASSERT_TRUE(GetWindowLongA(plugin, GWL_EXSTYLE) & WS_EX_TOPMOST);
    const RECT before = WindowRectOf(plugin);
    ConfigFromMenu([](HWND dialog) {
        Click(dialog, OnTop);
        Click(dialog, Ok);
    });
    EXPECT_FALSE(GetWindowLongA(plugin, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(WindowRectOf(plugin).left, before.left);
    EXPECT_EQ(WindowRectOf(plugin).top, before.top);
}

TEST_F(ConfigTest, SecondRequestBringsTheOpenDialogForward) {
    Start(0, 1);
    std::atomic<int> dialogs{0};
    ConfigFromMenu([&](HWND dialog) {
        // The player's entry while the menu's dialog is open.
        module->Config(module);
        EnumWindows(CountConfigDialogs, reinterpret_cast<LPARAM>(&dialogs));
        Click(dialog, Cancel);
    });
    EXPECT_EQ(dialogs.load(), 1);
}
