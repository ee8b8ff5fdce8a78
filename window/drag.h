// Dragging the free window by hand. A press takes the mouse capture, so the
// release comes back to this window wherever the cursor is then, and every
// move in between, also beyond the window's edges; the drag ends with the
// release or when another window takes the capture.
#pragma once

#include <windows.h>

void DragPress(HWND window, LPARAM point);
// A move with the keys of wParam: false when it is not a drag step, which
// it is only during a press this window saw, with the left button alone
// down and the window not attached.
bool DragMove(HWND window, WPARAM keys, LPARAM point);
// The button went up, or shut-down comes in the middle of a drag: false
// when no press of this window was held.
bool DragRelease();
// The capture went elsewhere: another window, a menu, a switch of tasks.
void DragCaptureLost();
