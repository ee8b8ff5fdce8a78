// What vis_host copies from beside a plug-in's DLL: the plug-in's settings,
// data and data folders, never a user's songs, videos, pictures or large files.
#include "host/core/plugin_file_rule.h"

#include <gtest/gtest.h>

namespace {

TEST(PluginFileRule, TakesSettingsAndDataNotTheUsersFiles) {
    struct Case {
        const char* name;
        uint64_t bytes;
        bool inside;
        bool copied;
    };
    const Case cases[] = {
        {"vis_avs.dat", 4000, false, true},
        {"milk2.ini", 900, false, true},
        {"MILK2_ADAPTERS.TXT", 50, false, true},
        {"plugin.cfg", 10, false, true},
        {"big-song.mp3", 6000000, false, false},
        {"tone.wav", 80000, false, false},
        {"shot.png", 3000, false, false},
        {"run.log", 200, false, false},
        {"vis_avs.dll", 300000, false, false},
        {"huge.ini", PluginFileMaxBytes + 1, false, false},
        {"Fractal.avs", 2000, true, true},
        {"aurora.milk", 5000, true, true},
        {"include.fx", 800, true, true},
        {"texture.jpg", 30000, true, false},
        {"clip.mp4", 500000, true, false},
        {"Effect.ape", 90000, true, false},
        {"presets.pak", PluginFileMaxBytes + 1, true, false},
    };
    for (const Case& c : cases) EXPECT_EQ(CopiesPluginFile(c.name, c.bytes, c.inside), c.copied) << c.name;
}

TEST(PluginFileRule, DataFoldersAreNamedAfterThePlugin) {
    struct Case {
        const char* dll;
        const char* folder;
        bool data;
    };
    const Case cases[] = {
        {"vis_avs.dll", "avs", true},        {"vis_milk2.dll", "milkdrop2", true}, {"VIS_MILK2.DLL", "MilkDrop2", true},
        {"vis_avs.dll", "downloads", false}, {"vis_milk2.dll", "music", false},    {"vis_2.dll", "anything", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsPluginDataFolder(c.dll, c.folder), c.data) << c.dll << " " << c.folder;
}

}  // namespace
