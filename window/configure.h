// The Configure dialog from either entry, and what its Ok changes: the
// settings file when no module runs, otherwise the running window, on the
// window's own thread.
#pragma once

#include <windows.h>

#include <cstdint>

#include "plugin/records.h"

// Sent by the Configure dialog from another thread: wParam the new dock
// mode, lParam the module record.
constexpr UINT ApplyDockModeMessage = WM_APP + 0x4B1;

void OpenConfigDialog(winampVisModule* module, HWND owner);
// The new dock mode on the running window, then a frame that shows it.
void ApplyDockMode(winampVisModule* module, uint8_t mode);
