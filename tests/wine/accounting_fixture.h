// A running module whose GDI and USER calls are counted (resource_ledger.h).
// Every test ends with nothing held and no fault recorded.
#pragma once

#include "tests/wine/resource_ledger.h"
#include "tests/wine/window_fixture.h"

// Points in skin pixels that toggle a meter by double-click.
constexpr int SpectrumClickX = 100, SpectrumClickY = 10;
constexpr int LevelClickX = 100, LevelClickY = 36, VuLevelClickY = 7;

class AccountingTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        const std::vector<std::string> missing = InstallResourceLedger();
        for (const std::string& name : missing) ADD_FAILURE() << "vis_kt.dll does not import " << name;
        ASSERT_EQ(Ledger.HeldTotal(), 0) << DescribeHeld();
        Ledger.ResetCounts();
    }
    void TearDown() override {
        WindowTest::TearDown();
        EXPECT_EQ(Ledger.HeldTotal(), 0) << DescribeHeld();
        for (const std::string& fault : Ledger.faults) ADD_FAILURE() << fault;
    }

    // Starts with the player window 275 or 550 pixels wide.
    void StartSized(int index, bool doubleSize, int mode = 1) {
        MovePlayerWindow(PlayerLeft, PlayerTop, doubleSize ? 550 : PlayerWidth, PlayerHeight);
        Start(index, mode);
    }
    // Double-click at a skin point, scaled as the window shows it.
    void DoubleClick(int x, int y, bool doubleSize) {
        const int scale = doubleSize ? 2 : 1;
        SendMessageA(plugin, WM_LBUTTONDBLCLK, 0, MAKELPARAM(x * scale, y * scale));
    }
};
