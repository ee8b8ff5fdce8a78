// The player's main window: 275 by 116 (550 by 232 at double size), movable
// by dragging anywhere, with a status line. It answers the plug-in's queries
// (player_messages.h), takes the player's keys and commands (also those the
// plug-in forwards or sends) and calls the module's Config on this, the main
// thread.
#pragma once

#include <windows.h>

#include "host/win/host_session.h"

constexpr int PlayerWidth = 275;
constexpr int PlayerHeight = 116;

// Creates the window, shown unless only the modules are listed; null on
// failure. Its caption is "TITLE - Winamp", as the player's.
HWND CreatePlayerWindow(HostSession& session, bool show);
