// The Configure dialog from either entry, and what its Ok changes: the
// settings file when no module runs, otherwise the running window, on the
// window's own thread.
#pragma once

#include <windows.h>

#include <cstdint>

#include "plugin/records.h"

void OpenConfigDialog(winampVisModule* module, HWND owner);

// The window procedure's handler of a request sent from another thread.
void ApplyDockMode(winampVisModule* module, uint8_t mode);
