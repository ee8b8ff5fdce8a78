// The player's main window: 275 by 116 (550 by 232 at double size), movable
// by dragging anywhere, with a status line. It answers the plug-in's
// is-playing query, takes the player's keys (also those the plug-in forwards)
// and calls the module's Config on this, the main thread.
#pragma once

#include <windows.h>

#include "host/win/host_session.h"

constexpr int PlayerWidth = 275;
constexpr int PlayerHeight = 116;

// Creates and shows the window; null on failure.
HWND CreatePlayerWindow(HostSession& session, const char* title);
