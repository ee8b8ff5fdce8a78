// White-box fixture for the settings file: a fresh temporary folder holding a
// copy of vis_kt.dll, loaded so that its module handle names a file in that
// folder, as the player's handle names the library in its plug-in folder.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "plugin/records.h"
#include "settings/settings_file.h"

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies the library as dllName into folder (a full path of any length,
    // with its backslash, made when missing) and loads the copy; TearDown
    // frees it.
    HMODULE LoadLibraryCopy(const std::string& folder, const char* dllName);

    // The settings file beside the copy that SetUp loads into tempFolder.
    std::string IniPath() const { return tempFolder + "plugin.ini"; }
    // Replaces the whole file with bytes, and drops the platform's cached copy.
    void WriteIni(const std::string& bytes) const;
    // The file's bytes, or "<missing>" when it cannot be opened.
    std::string ReadIni() const;
    // Writes a file of the Deduzodo's section with keys and reads it.
    void ReadDeduzodoSection(const std::string& keys);

    // Reads a module's section into settings, with settings as the defaults.
    void Read(const winampVisModule& module) { settings = ReadSettings(&module, settings); }
    void Write(const winampVisModule& module) const { WriteSettings(&module, settings); }
    void SetState(uint8_t dockMode, int32_t x, int32_t y);
    void ExpectState(int dockMode, int32_t x, int32_t y) const;

    // The values in memory, as the plug-in holds them between a read and a write.
    WindowSettings settings;

    std::string tempFolder;  // the unique folder, with its backslash
    std::vector<HMODULE> libraries;
    // The two modules' records, both with the handle of the copy in tempFolder.
    winampVisModule deduzodo{};
    winampVisModule vuMeter{};
};
