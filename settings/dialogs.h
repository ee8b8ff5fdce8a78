// The Configure and About dialogs.
#pragma once

#include <windows.h>

#include <cstdint>

#include "plugin/records.h"

// Runs the Configure dialog on DockMode, first read from the settings file
// unless a module is running. True with the mode the user confirmed with Ok;
// false after Cancel, or when a Configure dialog was open already (it is
// brought to the front instead).
bool RunConfigDialog(winampVisModule* module, HWND owner, bool moduleRunning, uint8_t& confirmedMode);
INT_PTR OpenAboutDialog(winampVisModule* module, HWND owner);
