// Window size and docked position, shared by start-up and the per-frame
// docking step.
#pragma once

#include "display/skin_layout.h"

// The skin of the module that the last getter call named: ModuleKind, not
// the record started, decides. The VU-Meter's for 2, the Deduzodo's otherwise.
const ModuleSkin& SelectedSkin();

// WindowWidth and WindowHeight from ModuleKind and DoubleSize.
void UpdateWindowSize();

// WindowX and WindowY for a window docked to a player window with these edges.
void PlaceDocked(int hostLeft, int hostTop, int hostBottom);

// Double size follows a player window wider than 400 pixels.
constexpr int DoubleSizeAboveWidth = 400;
