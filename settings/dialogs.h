// The Configure and About dialogs.
#pragma once

#include <windows.h>

#include <cstdint>

#include "plugin/records.h"

// One Configure dialog at a time, whichever entry or copy of the plug-in
// opened it: true when one is open already, which is then brought to the front.
bool BringOpenConfigDialogForward();
// Runs the Configure dialog, starting from mode. True after Ok, with the
// mode the user confirmed in mode; false after Cancel, with mode unchanged.
bool RunConfigDialog(const winampVisModule* module, HWND owner, uint8_t& mode);
INT_PTR OpenAboutDialog(const winampVisModule* module, HWND owner);
