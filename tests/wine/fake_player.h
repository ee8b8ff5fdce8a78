// The test program's stand-in for the player: a main window that answers the
// is-playing query with a chosen value and records what reaches it, and the
// calls the player makes on the plug-in through its export.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "plugin/records.h"

struct FakePlayer {
    HWND window = nullptr;
    LRESULT playingAnswer = 0;
    int queries = 0;
    std::vector<MSG> received;  // keystrokes posted to the player window
};

extern FakePlayer Player;

// Creates the player window (a borderless popup, so its rectangle is exact).
void OpenPlayerWindow(int left, int top, int width, int height);
void MovePlayerWindow(int left, int top, int width, int height);
void ClosePlayerWindow();
void PumpMessages();

// The settings file next to the plug-in DLL; removed and rewritten per test.
std::string PluginIniPath();
void WriteModeSetting(const char* section, int mode);
void RemovePluginIni();

// Getter call, record filled as the player fills it, then Init.
winampVisModule* GetModule(int index);
int StartModule(winampVisModule* module, void* userData = nullptr);

// The plug-in window, found as a user would find it.
HWND FindPluginWindow();
RECT WindowRectOf(HWND window);
COLORREF PixelAt(HWND window, int x, int y);
bool IsLit(COLORREF colour);

void FillWaveform(winampVisModule* module, unsigned char left, unsigned char right);
