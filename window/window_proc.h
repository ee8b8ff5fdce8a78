// The plug-in window's procedure: repaint, keys, timer, drag, double-clicks
// and the context menu.
#pragma once

#include <windows.h>

enum : WPARAM { MenuAbout = 1, MenuConfig = 2, MenuClose = 3 };

// Sent by the Configure dialog from another thread: wParam the new DockMode,
// lParam the module record.
constexpr UINT ApplyDockModeMessage = WM_APP + 0x4B1;

LRESULT CALLBACK PluginWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
