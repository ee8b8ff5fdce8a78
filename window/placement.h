// Where the window stands and how big it is: the module's skin and size, the
// docked place beside the player window, and a free place brought back onto
// a screen.
#pragma once

#include <windows.h>

#include "display/skin_layout.h"

// The skin of the module that the last getter call named: ModuleKind, not
// the record started, decides. The VU-Meter's for 2, the Deduzodo's otherwise.
const ModuleSkin& SelectedSkin();
// Start-up: size and place from the player window's rectangle, docked or
// free; a free place that no screen shows moves onto the nearest one.
void PlaceAtStartup(const RECT& host);
// Every frame: the size from the player window's width again and, when
// docked and the player window moved, the window moved along. True when the
// window was moved.
bool FollowHostWindow();
