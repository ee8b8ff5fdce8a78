// A running module of a freshly loaded vis_kt.dll: player window, settings,
// start-up and shut-down around each test, and the library freed after it.
#pragma once

#include <gtest/gtest.h>

#include "display/skin_layout.h"
#include "tests/wine/fake_player.h"
#include "tests/wine/plugin_library.h"

constexpr int PlayerLeft = 100, PlayerTop = 300, PlayerWidth = 275, PlayerHeight = 116;
constexpr const char* DeduzodoSection = "ZARir 1.1 Deduzodo";
constexpr const char* VuMeterSection = "ZARir 1.1 VU-Meter";

// A row through the middle of a module's level bars.
constexpr int LevelRow(const ModuleSkin& skin) { return (skin.levelBarRows.top + skin.levelBarRows.bottom) / 2; }
// The bottom row of the spectrum, which a bar at rest keeps lit.
constexpr int RestingBarRow = SpectrumRows.bottom - 1;

class WindowTest : public ::testing::Test {
protected:
    winampVisModule* module = nullptr;
    HWND plugin = nullptr;

    void SetUp() override {
        RemovePluginIni();
        OpenPlayerWindow(PlayerLeft, PlayerTop, PlayerWidth, PlayerHeight);
    }
    void TearDown() override {
        if (module) module->Quit(module);
        PumpMessages();
        ClosePlayerWindow();
        RemovePluginIni();
        UnloadPluginLibrary();
    }

    // Starts module `index` with the given dock mode stored in its section.
    void Start(int index, int mode = 1, void* userData = nullptr) {
        WriteModeSetting(index == 1 ? VuMeterSection : DeduzodoSection, mode);
        module = GetModule(index);
        ASSERT_NE(module, nullptr);
        ASSERT_EQ(StartModule(module, userData), 0);
        plugin = FindPluginWindow();
        ASSERT_NE(plugin, nullptr);
        // The tests send timer ticks themselves: a real tick between two
        // rendered frames would add a frame of its own.
        KillTimer(plugin, 1001);
        PumpMessages();
    }

    void Render(int frames = 1) {
        for (int i = 0; i < frames; ++i) module->Render(module);
    }
    bool Lit(int x, int y) { return IsLit(PixelAt(plugin, x, y)); }
};
