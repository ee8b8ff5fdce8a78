// Keeps a free-floating window where the user can reach it.
#pragma once

// Moves WindowX and WindowY into the nearest monitor's work area when the
// window's rectangle lies entirely outside every monitor (a stored position
// from a screen that is gone, or a damaged settings file).
void BringOntoScreen();
