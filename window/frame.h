// The two steps that frame every render: docking and skin restore before the
// meters paint, presentation after.
#pragma once

#include <windows.h>

void PrepareFrame();
void PresentFrame();

// Copies the canvas onto a window surface, enlarged 2x in double size.
void ShowCanvas(HDC target);
