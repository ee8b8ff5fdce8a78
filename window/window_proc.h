// The plug-in window's procedure: repaint, keys, timer, drag, double-clicks
// and the context menu.
#pragma once

#include <windows.h>

// The context menu's commands, in the menu's order.
enum : WPARAM { MenuAbout = 1, MenuConfig = 2, MenuClose = 3 };

LRESULT CALLBACK PluginWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
