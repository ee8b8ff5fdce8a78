// Converts the pixels of a locked surface or a read-back buffer, as a 3D or
// DirectDraw present leaves them, into the RGB rows of a captured frame.
#pragma once

#include <cstdint>

#include "host/core/png_frame.h"

// How one pixel is stored: 2, 3 or 4 bytes, little-endian, each colour in
// the bits of its mask; or 1 byte indexing `palette` (256 entries of red,
// green, blue).
struct PixelLayout {
    int bytesPerPixel = 4;
    uint32_t red = 0xFF0000, green = 0xFF00, blue = 0xFF;
    const uint8_t (*palette)[3] = nullptr;
};

// Fills `image` with `height` rows of `width` pixels, the first (top) row at
// `top` and each next one `pitch` bytes on (negative for rows stored bottom
// up). Reuses the image's storage when the size is unchanged. False, image
// untouched, for a layout it cannot read.
bool ConvertPixels(const uint8_t* top, long pitch, int width, int height, const PixelLayout& layout, RgbImage& image);
