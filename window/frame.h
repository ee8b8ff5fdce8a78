// The render cycle: docking and skin restore before the meters, their
// rectangles filled on the canvas, presentation after. Also the window's
// size and docked place, which start-up shares.
#pragma once

#include <windows.h>

#include "display/paint_list.h"
#include "display/skin_layout.h"

// Double size follows a player window wider than 400 pixels.
constexpr int DoubleSizeAboveWidth = 400;

// The skin of the module that the last getter call named: ModuleKind, not
// the record started, decides. The VU-Meter's for 2, the Deduzodo's otherwise.
const ModuleSkin& SelectedSkin();
// WindowWidth and WindowHeight from ModuleKind and DoubleSize.
void UpdateWindowSize();
// The window position for a window docked to a player window with these edges.
void PlaceDocked(int hostLeft, int hostTop, int hostBottom);

// Fills each listed rectangle black on the canvas, in order; nothing without
// a canvas.
void PaintCanvas(const PaintList& paint);
// Copies the canvas onto a window surface, enlarged 2x in double size.
void ShowCanvas(HDC target);
