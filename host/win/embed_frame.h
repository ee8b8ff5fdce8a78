// The frame window the player makes for a plug-in that asks for one: a
// plain dark frame with a title bar and a close box, owned by the player's
// main window, into which the plug-in puts its own window as a child.
#pragma once

#include <windows.h>

#include "plugin/player_protocol.h"

// The frames' window class.
extern const char* const EmbedFrameClass;

// The owner of every frame and the title they show until a plug-in names
// them; set before the module starts.
void SetEmbedOwner(HWND mainWindow, const char* title);

// The player's embed function: makes a hidden frame on the calling thread at
// the record's rectangle (at least 275 x 116), sets `me`, and from then on
// keeps the record's rectangle equal to the frame's.
HWND VIS_CDECL EmbedFrame(embedWindowState* state);

// The first frame made since the module started, or null.
HWND FirstEmbedFrame();

// Frames made from here on have room for a plug-in window of this client
// size, whatever the record asks, and keep it (--size).
void SetEmbedDisplaySize(int width, int height);
// Gives the frame's child the frame's room, as a resize does.
void FitEmbedChild(HWND frame);
