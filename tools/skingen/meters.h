// The meter fields, drawn fully lit: the plug-in darkens what is not lit.
#pragma once

#include "tools/skingen/image.h"

// Level bar gradient G, dark orange at column 7 to bright orange at 135.
Rgb LevelGradient(int x);
// Spectrum gradient V for rows 7..31, dark at the top, bright at the bottom.
Rgb SpectrumGradient(int y);

// Bass indicator (columns 7..9) and the 85 spectrum bars, rows 7..31.
void DrawSpectrumField(Image& image);
// Both level bars in `rows` rows from `top`; the right bar mirrors the left.
void DrawLevelBars(Image& image, int top, int rows);
