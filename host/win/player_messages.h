// What the player's main window answers to a plug-in's queries (WM_USER with
// the query's id in lParam), as one table.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "host/core/transport.h"

// The texts and paths the answers point at: they live as long as the session,
// since plug-ins keep the pointers.
struct PlayerTexts {
    std::string filePath, fileTitle;  // empty: nothing plays
    std::wstring fileTitleWide;
    std::string settingsFolder, iniFile, pluginFolder, skinFolder, skinName;
    std::wstring settingsFolderWide, iniFileWide, pluginFolderWide;
};

// What the answers read and remember.
struct PlayerServices {
    HWND mainWindow = nullptr;
    Transport* transport = nullptr;
    PlayerTexts texts;
    std::atomic<HWND> visWindow{nullptr};  // named by the plug-in; capture reads it
    LPARAM randomPresetNotice = 0;
    LPARAM fullScreen = 0;
    HMODULE d3dx9 = nullptr;
    bool d3dx9Looked = false;
};

// The answer to the query `id` with its argument; 1 for an id the player does
// not know, as the player answers.
LRESULT AnswerPlayerQuery(PlayerServices& services, WPARAM argument, LPARAM id);

// Fills the texts: the settings folder (made if missing, with the skin
// folder and a Plugins folder with the plug-in's files inside it), the
// plug-in's folder and the playing file. False with
// the reason when the settings folder cannot be made.
bool PreparePlayerTexts(PlayerTexts& texts, const std::string& settingsFolder, const std::string& pluginPath,
                        const std::string& audioPath, std::string& error);

// The folder vis_host keeps plug-ins' settings in when none is given: under
// the user's application data.
std::string DefaultSettingsFolder();
