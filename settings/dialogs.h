// The Configure and About dialogs.
#pragma once

#include <windows.h>

#include "plugin/records.h"

void OpenConfigDialog(winampVisModule* module, HWND owner);
INT_PTR OpenAboutDialog(winampVisModule* module, HWND owner);
