// The meter fields, drawn fully lit: the plug-in darkens what is not lit.
#pragma once

#include "display/skin_layout.h"
#include "tools/skingen/image.h"

// Level bar gradient G, dark orange at column 7 to bright orange at 135.
Rgb LevelGradient(int x);
// Spectrum gradient V for rows 7..31, dark at the top, bright at the bottom.
Rgb SpectrumGradient(int y);

// The bass indicator and the 85 lit spectrum bars.
void DrawSpectrumField(Image& image);
// Both level bars in the given rows; the right bar mirrors the left.
void DrawLevelBars(Image& image, Rows rows);
