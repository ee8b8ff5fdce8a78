// The bevelled frame shared by both skins: outer line, grey bevels, the dark
// brown rim, the black interior and the faint sheen under the level bars.
#pragma once

#include "tools/skingen/image.h"
#include "tools/skingen/shading.h"

struct FrameShape {
    int height;
    int lastMeterRow;   // the rim sides end here; the lower sheen lies below
    bool sidesFadeOut;  // rim sides fade into the sheen instead of just darkening
    // The side bevel columns from row 6 down; rows 1..5 are common to both skins.
    Profile leftHighlight;  // column 1
    Profile leftBevel;      // columns 2 and 3
    Profile rightBevel;     // columns 271 and 272
    Profile rightEdge;      // column 273
};

// Draws the whole frame on a black image of the shape's height; the interior
// stays black, ready for the meter fields.
void DrawFrame(Image& image, const FrameShape& shape);
