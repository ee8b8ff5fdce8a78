// The plug-in window's procedure (repaint, keys, timer, drag, double-clicks
// and the context menu) and the Configure dialog that its menu and the
// player open.
#pragma once

#include <windows.h>

#include <cstdint>

#include "plugin/records.h"

enum : WPARAM { MenuAbout = 1, MenuConfig = 2, MenuClose = 3 };

// Sent by the Configure dialog from another thread: wParam the new dock
// mode, lParam the module record.
constexpr UINT ApplyDockModeMessage = WM_APP + 0x4B1;

LRESULT CALLBACK PluginWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The Configure dialog from either entry, and what its Ok changes: the
// settings file when no module runs, otherwise the running window, on the
// window's own thread.
void OpenConfigDialog(winampVisModule* module, HWND owner);
// The window procedure's handler of a request sent from another thread.
void ApplyDockMode(winampVisModule* module, uint8_t mode);
