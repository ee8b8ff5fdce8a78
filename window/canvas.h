// The canvas: black fills on it, and its copy onto a window surface.
#pragma once

#include <windows.h>

#include "display/paint_list.h"

// Fills each listed rectangle black on the canvas, in order; nothing without
// a canvas.
void PaintCanvas(const PaintList& paint);
// Copies the canvas onto a window surface, enlarged 2x in double size.
void ShowCanvas(HDC target);
