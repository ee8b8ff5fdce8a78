// Mouse and keyboard input as a hand gives it: absolute moves on the test
// screen and button events through SendInput, so that the platform decides
// which window gets each message, as it does for a user. Each call then
// dispatches what the input brought.
#pragma once

#include <windows.h>

// Moves the cursor to a screen point; the test fails when it lands elsewhere.
void MoveMouseTo(int x, int y);
// The same, saying whether it landed there: where another process's windows
// lie under the cursor, a pointer event of the screen's that is still on its
// way may put the cursor back once.
bool TryMoveMouseTo(int x, int y);
void PressLeft();
void ReleaseLeft();
// Two clicks at the cursor, close enough in time to be a double-click.
void DoubleClickLeft();
// Only the press: a right press opens the plug-in's menu, whose loop runs
// until the menu closes.
void PressRight();
void ReleaseRight();
void HoldShift(bool down);
