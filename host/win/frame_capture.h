// Reads back what the plug-in presented in its window.
#pragma once

#include <windows.h>

#include "host/core/png_frame.h"

// The first visible top-level window of the calling thread that is not a
// menu or dialog: on the visualization thread, the plug-in's window.
HWND FindThreadWindow();

// The window's client area as the screen shows it; false when it has none.
bool ReadWindowPixels(HWND window, RgbImage& image);
