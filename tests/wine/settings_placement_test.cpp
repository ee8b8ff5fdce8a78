// Where settings files put the window: a free window always opens where a
// monitor shows it, odd but readable files keep other plug-ins' sections, and
// a library in a folder outside ASCII keeps its settings there.
#include <fstream>
#include <sstream>
#include <string>

#include "host/win/import_table.h"
#include "tests/wine/plugin_library.h"
#include "tests/wine/window_fixture.h"

namespace {

void WriteIni(const std::string& bytes) {
    std::ofstream out(PluginIniPath(), std::ios::binary | std::ios::trunc);
    out << bytes;
}

struct PlacementCase {
    const char* name;
    std::string bytes;
};

std::vector<PlacementCase> PlacementFiles() {
    const std::string other = "[Other plug-in]\r\nkey=value\r\n";
    return {
        {"XJustPastInt32", "[ZARir 1.1 Deduzodo]\r\nMode=0\r\nX=2147483648\r\nY=2147483647\r\n" + other},
        {"FarOffScreen", "[ZARir 1.1 Deduzodo]\r\nMode=0\r\nX=-30000\r\nY=40000\r\n" + other},
        {"DuplicateSectionsAndKeys",
         "[ZARir 1.1 Deduzodo]\r\nMode=0\r\nMode=1\r\nX=5\r\n" + other + "[ZARir 1.1 Deduzodo]\r\nX=9000\r\n"},
        {"OtherCase", "[zarir 1.1 DEDUZODO]\r\nmode=0\r\nx=-5000\r\ny=-5000\r\n" + other},
        {"NoTrailingNewline", other + "[ZARir 1.1 Deduzodo]\r\nMode=0\r\nX=30"},
    };
}

}  // namespace

class PlacementSettingsTest : public WindowTest, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(PlacementSettingsTest, StartsReachableAndKeepsOtherSections) {
    WriteIni(GetParam().bytes);
    module = GetModule(0);
    ASSERT_EQ(StartModule(module), 0);
    plugin = FindPluginWindow();
    ASSERT_NE(plugin, nullptr);
    module->Render(module);
    const RECT rect = WindowRectOf(plugin);
    if (!GetWindow(plugin, GW_OWNER)) {
        // A free window lies on a monitor, wholly inside its work area.
        EXPECT_NE(MonitorFromRect(&rect, MONITOR_DEFAULTTONULL), nullptr) << rect.left << "," << rect.top;
    }
    module->Quit(module);
    module = nullptr;
    char value[32] = {};
    GetPrivateProfileStringA("Other plug-in", "key", "", value, sizeof value, PluginIniPath().c_str());
    EXPECT_STREQ(value, "value");
    // What was written back reads back.
    EXPECT_GE(GetPrivateProfileIntA(DeduzodoSection, "Mode", -1, PluginIniPath().c_str()), 0);
}

INSTANTIATE_TEST_SUITE_P(Files, PlacementSettingsTest, ::testing::ValuesIn(PlacementFiles()),
                         [](const ::testing::TestParamInfo<PlacementCase>& test) {
                             return std::string(test.param.name);
                         });

TEST_F(WindowTest, FreePositionOffEveryScreenComesBack) {
    WriteIni("[ZARir 1.1 Deduzodo]\r\nMode=0\r\nX=-5000\r\nY=300\r\n");
    module = GetModule(0);
    ASSERT_EQ(StartModule(module), 0);
    plugin = FindPluginWindow();
    const RECT rect = WindowRectOf(plugin);
    EXPECT_EQ(rect.left, 0);  // the nearest edge of the screen
    EXPECT_EQ(rect.top, 300);
    // A position partly on screen is the user's choice and stays.
    module->Quit(module);
    WriteIni("[ZARir 1.1 Deduzodo]\r\nMode=0\r\nX=-200\r\nY=-20\r\n");
    ASSERT_EQ(StartModule(module), 0);
    plugin = FindPluginWindow();
    EXPECT_EQ(WindowRectOf(plugin).left, -200);
    EXPECT_EQ(WindowRectOf(plugin).top, -20);
}

namespace {

int MonitorLookups = 0;

// GetProcAddress as on Windows 95 and NT 4.0, whose user32 has no monitor
// functions.
FARPROC WINAPI GetProcAddressWithoutMonitors(HMODULE module, LPCSTR name) {
    const bool byName = (reinterpret_cast<ULONG_PTR>(name) >> 16) != 0;
    if (byName && (std::string(name) == "MonitorFromRect" || std::string(name) == "GetMonitorInfoA")) {
        ++MonitorLookups;
        return nullptr;
    }
    return GetProcAddress(module, name);
}

}  // namespace

// Without the monitor functions a free window that no screen shows comes
// back into the primary screen's work area; one partly shown stays.
TEST_F(WindowTest, OffScreenWithoutMonitorFunctionsComesBackToTheWorkArea) {
    HMODULE library = LoadPluginLibrary().module;
    void* original =
        PatchImport(library, "kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(GetProcAddressWithoutMonitors));
    ASSERT_NE(original, nullptr);
    RECT work;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    const struct {
        const char* position;
        LONG left, top;
    } cases[] = {{"X=-5000\r\nY=300", work.left, 300},
                 {"X=9000\r\nY=9000", work.right - SkinWidth, work.bottom - DeduzodoSkin.height},
                 {"X=-200\r\nY=-20", -200, -20}};
    for (const auto& c : cases) {
        WriteIni(std::string("[ZARir 1.1 Deduzodo]\r\nMode=0\r\n") + c.position + "\r\n");
        module = GetModule(0);
        ASSERT_EQ(StartModule(module), 0);
        const RECT rect = WindowRectOf(FindPluginWindow());
        EXPECT_EQ(rect.left, c.left) << c.position;
        EXPECT_EQ(rect.top, c.top) << c.position;
        module->Quit(module);
        module = nullptr;
    }
    PatchImport(library, "kernel32.dll", "GetProcAddress", original);
    EXPECT_GT(MonitorLookups, 0);
}

// A library in a folder whose name is outside ASCII keeps its settings there.
TEST_F(WindowTest, LibraryInANonAsciiFolder) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "vis_kt M\xFCsik \xC6\xD8\xC5";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string copy = folder + "\\vis_kt.dll";
    ASSERT_TRUE(CopyFileA(PluginIniPath().substr(0, PluginIniPath().size() - 10).append("vis_kt.dll").c_str(),
                          copy.c_str(), FALSE));
    HMODULE library = LoadLibraryA(copy.c_str());
    ASSERT_NE(library, nullptr);
    auto getHeader = reinterpret_cast<winampVisHeader* (*)()>(
        reinterpret_cast<void*>(GetProcAddress(library, "winampVisGetHeader")));
    winampVisModule* record = getHeader()->getModule(1);
    record->hwndParent = Player.window;
    record->hDllInstance = library;
    ASSERT_EQ(record->Init(record), 0);
    record->Render(record);
    record->Quit(record);
    const std::string ini = folder + "\\plugin.ini";
    EXPECT_EQ(GetPrivateProfileIntA(VuMeterSection, "Mode", -1, ini.c_str()), 1);
    FreeLibrary(library);
    DeleteFileA(ini.c_str());
    DeleteFileA(copy.c_str());
    RemoveDirectoryA(folder.c_str());
}
