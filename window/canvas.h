// The canvas and the window's picture: the skin with black fills on it,
// copied onto the window, and drawn again only when the picture changes.
#pragma once

#include <windows.h>

#include "display/paint_list.h"

// Fills black on the canvas each listed rectangle that paints anything;
// false when the canvas is missing or a fill failed.
bool PaintCanvas(const PaintList& paint);
// Copies the canvas onto a window surface, enlarged 2x in double size; false
// when the copy failed.
bool ShowCanvas(HDC target);
// Shows the skin with these fills in the window at its present size: the
// skin restored, the fills made and the canvas presented, unless that is the
// picture the window shows already, which then costs no drawing call.
void ShowPicture(const PaintList& paint);
