// ReadSettings against real files beside a loaded copy of the library.
#include "tests/wine/settings_fixture.h"

TEST_F(SettingsFileTest, ModeKeepsItsLowEightBits) {
    ReadDeduzodoSection("Mode=261\r\nX=11\r\nY=22\r\n");
    ExpectState(5, 0, 0);
}

TEST_F(SettingsFileTest, AttachedModeLeavesXAndYUnread) {
    SetState(0, 3, 4);
    ReadDeduzodoSection("Mode=7\r\nX=11\r\nY=22\r\n");
    ExpectState(7, 3, 4);
}

TEST_F(SettingsFileTest, FirstStartWithoutModeStaysAttached) {
    ReadDeduzodoSection("X=11\r\nY=22\r\n");
    ExpectState(1, 0, 0);
}

TEST_F(SettingsFileTest, FreeModeAloneOnFirstStartGivesOrigin) {
    ReadDeduzodoSection("Mode=0\r\n");
    ExpectState(0, 0, 0);
}

TEST_F(SettingsFileTest, MissingFileOrKeysKeepWhatMemoryHolds) {
    SetState(0x42, -5, 77);
    Read(deduzodo);
    ExpectState(0x42, -5, 77);
    EXPECT_EQ(ReadIni(), "<missing>");

    // A later start of the other module falls back on what this one left.
    ReadDeduzodoSection("Mode=0\r\nX=-120\r\nY=35\r\n");
    Read(vuMeter);
    ExpectState(0, -120, 35);
}

TEST_F(SettingsFileTest, NegativePositionsKeepTheirSign) {
    ReadDeduzodoSection("Mode=2\r\nX=-120\r\nY=-2147483648\r\n");
    ExpectState(2, -120, INT32_MIN);
}

TEST_F(SettingsFileTest, TextThatIsNotANumberGivesThePlatformsValue) {
    // Mode without a leading number reads as 0, which frees the window, so
    // X and Y are read too: X by its leading digits, Y as 0.
    SetState(DockAttached, 3, 4);
    ReadDeduzodoSection("Mode=docked\r\nX=12px\r\nY=left\r\n");
    ExpectState(0, 12, 0);
}

TEST_F(SettingsFileTest, EachModuleReadsOnlyItsOwnSection) {
    WriteIni(
        "[ZARir 1.1 VU-Meter]\r\nMode=0\r\nX=1\r\nY=2\r\n"
        "[ZARir 1.1 Deduzodo]\r\nMode=4\r\nX=30\r\nY=40\r\n"
        "[ZARir 1.1]\r\nMode=0\r\nX=5\r\nY=6\r\n");
    Read(deduzodo);
    ExpectState(4, 30, 40);
    Read(vuMeter);
    ExpectState(0, 1, 2);
    settings = WindowSettings{};
    Read(deduzodo);
    ExpectState(4, 30, 40);
}
