// SettingsPath through the platform's own module file names, also for
// folders at and past the length that still leaves room for "plugin.ini".
#include "settings/settings_file.h"
#include "tests/wine/settings_fixture.h"

namespace {

// A folder inside tempFolder whose path, backslash included, has length
// characters.
std::string FolderOfLength(const std::string& tempFolder, size_t length) {
    return tempFolder + std::string(length - tempFolder.size() - 1, 'd') + "\\";
}

std::string PathOf(HMODULE library) {
    winampVisModule record{};
    record.description = "Deduzodo";
    record.hDllInstance = library;
    char buffer[MAX_PATH + 1];
    buffer[MAX_PATH] = '#';
    SettingsPath(&record, buffer);
    EXPECT_EQ(buffer[MAX_PATH], '#');
    return buffer;
}

}  // namespace

TEST_F(SettingsFileTest, PathIsTheLibraryFolderAndPluginIni) {
    char buffer[MAX_PATH];
    EXPECT_EQ(SettingsPath(&deduzodo, buffer), buffer);
    EXPECT_STREQ(buffer, IniPath().c_str());
}

TEST_F(SettingsFileTest, LongestFolderThatLeavesRoomIsUsed) {
    const std::string folder = FolderOfLength(tempFolder, 249);
    EXPECT_EQ(PathOf(LoadLibraryCopy(folder, "k.dll")), folder + "plugin.ini");
}

TEST_F(SettingsFileTest, LongerFolderFallsBackOnTheBareName) {
    EXPECT_EQ(PathOf(LoadLibraryCopy(FolderOfLength(tempFolder, 250), "k.dll")), "plugin.ini");
}

TEST_F(SettingsFileTest, UnknownModuleFallsBackOnTheBareName) {
    EXPECT_EQ(PathOf(reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x7A5A0000))), "plugin.ini");
}

TEST_F(SettingsFileTest, ModuleFileNameTooLongForTheBuffer) {
    // The cut name ends inside the long folder's name, so its last
    // backslash would point at the parent folder.
    const std::string folder = FolderOfLength(tempFolder, 280);
    EXPECT_EQ(PathOf(LoadLibraryCopy(folder, "vis_kt.dll")), "plugin.ini");
}
