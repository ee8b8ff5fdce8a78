// WriteSettings against real files, byte for byte, and against files and
// folders that cannot be written.
#include "tests/wine/settings_fixture.h"

TEST_F(SettingsFileTest, FreeWindowOnTopGivesTheFourLines) {
    SetState(DockOnTop, -120, 35);
    Write(deduzodo);
    EXPECT_EQ(ReadIni(), "[ZARir 1.1 Deduzodo]\r\nMode=4\r\nX=-120\r\nY=35\r\n");
}

TEST_F(SettingsFileTest, AllThreeAreWrittenWhileAttached) {
    SetState(0xFF, 300, -400);
    Write(vuMeter);
    EXPECT_EQ(ReadIni(), "[ZARir 1.1 VU-Meter]\r\nMode=255\r\nX=300\r\nY=-400\r\n");
}

TEST_F(SettingsFileTest, WrittenValuesReadBack) {
    for (int32_t x : {-120, 0, INT32_MIN, INT32_MAX}) {
        SetState(DockAtTop, x, ~x);
        Write(deduzodo);
        settings = WindowSettings{};
        Read(deduzodo);
        ExpectState(DockAtTop, x, ~x);
    }
}

TEST_F(SettingsFileTest, OtherSectionsAndKeysStayAsTheyWere) {
    const std::string before = "[Other]\r\nMode=9\r\nX=1\r\n";
    const std::string vuMeterSection = "[ZARir 1.1 VU-Meter]\r\nMode=0\r\nX=7\r\nY=8\r\n";
    const std::string after = "[Tail]\r\nName=keep me\r\n";
    WriteIni(before + "[ZARir 1.1 Deduzodo]\r\nMode=1\r\nExtra=abc\r\nY=6\r\n" + vuMeterSection + after);
    SetState(0, -3, 12);
    Write(deduzodo);
    EXPECT_EQ(ReadIni(),
              before + "[ZARir 1.1 Deduzodo]\r\nMode=0\r\nExtra=abc\r\nY=12\r\nX=-3\r\n" + vuMeterSection + after);
}

// The file cannot be written: the writes fail unreported and the file
// keeps its bytes.
class UnwritableSettingsTest : public SettingsFileTest {
protected:
    const std::string bytes = "[ZARir 1.1 Deduzodo]\r\nMode=0\r\nX=5\r\nY=6\r\n";

    void WriteAttachedAt70And80() {
        SetState(DockAttached, 70, 80);
        Write(deduzodo);
    }

    // A file that cannot be opened reads like a missing one: neither the
    // file's values nor those of the lost write come back.
    void ExpectReadKeepsMemory() {
        settings.dockMode = 0;
        Read(deduzodo);
        ExpectState(0, 70, 80);
    }
};

TEST_F(UnwritableSettingsTest, ReadOnlyFile) {
    WriteIni(bytes);
    ASSERT_TRUE(SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE probe = CreateFileA(IniPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        GTEST_SKIP() << "this platform lets a read-only file be opened for writing (Wine run as root)";
    }
    WriteAttachedAt70And80();
    EXPECT_EQ(ReadIni(), bytes);
}

TEST_F(UnwritableSettingsTest, FileHeldOpenWithoutSharing) {
    WriteIni(bytes);
    HANDLE holder = CreateFileA(IniPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE) << GetLastError();
    WriteAttachedAt70And80();
    ExpectReadKeepsMemory();
    CloseHandle(holder);
    EXPECT_EQ(ReadIni(), bytes);
}

TEST_F(UnwritableSettingsTest, FolderInTheWayOfTheFile) {
    ASSERT_TRUE(CreateDirectoryA(IniPath().c_str(), nullptr));
    WriteAttachedAt70And80();
    ExpectReadKeepsMemory();
    EXPECT_EQ(GetFileAttributesA(IniPath().c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}
