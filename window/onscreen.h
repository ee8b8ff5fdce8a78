// Keeps a free-floating window where the user can reach it.
#pragma once

// Moves WindowX and WindowY onto the nearest monitor when the window's
// rectangle lies entirely outside every monitor (a stored position from a
// screen that is gone, or a damaged settings file).
void BringOntoScreen();
