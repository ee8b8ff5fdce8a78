#include "host/core/pixel_layout.h"

#include <cstddef>

namespace {

// One colour of a masked pixel: where its bits sit, and its value at 8 bits
// for each of its raw values when it has fewer.
struct Channel {
    int shift = 0, bits = 0;
    uint8_t expand[256] = {};

    explicit Channel(uint32_t mask) {
        if (!mask) return;
        while (!(mask >> shift & 1)) ++shift;
        while (shift + bits < 32 && (mask >> (shift + bits) & 1)) ++bits;
        if (bits >= 8) return;
        const unsigned top = (1u << bits) - 1;
        for (unsigned v = 0; v <= top; ++v) expand[v] = uint8_t((v * 255 + top / 2) / top);
    }
    uint8_t Of(uint32_t pixel) const {
        const uint32_t v = (pixel >> shift) & ((bits >= 32 ? 0 : 1u << bits) - 1);
        return bits >= 8 ? uint8_t(v >> (bits - 8)) : expand[v];
    }
};

bool Contiguous(uint32_t mask) {
    if (!mask) return false;
    while (!(mask & 1)) mask >>= 1;
    return (mask & (mask + 1)) == 0;
}

uint32_t Load(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
}

}  // namespace

bool ConvertPixels(const uint8_t* top, long pitch, int width, int height, const PixelLayout& layout, RgbImage& image) {
    const int bytes = layout.bytesPerPixel;
    if (!top || width <= 0 || height <= 0) return false;
    if (bytes == 1 ? !layout.palette
                   : bytes < 2 || bytes > 4 || !Contiguous(layout.red) || !Contiguous(layout.green) ||
                         !Contiguous(layout.blue))
        return false;
    image.width = width;
    image.height = height;
    image.pixels.resize(std::size_t(width) * height * 3);
    uint8_t* out = image.pixels.data();
    if (bytes == 1) {
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = top + y * pitch;
            for (int x = 0; x < width; ++x, out += 3) {
                const uint8_t* entry = layout.palette[row[x]];
                out[0] = entry[0], out[1] = entry[1], out[2] = entry[2];
            }
        }
        return true;
    }
    if (bytes == 4 && layout.red == 0xFF0000 && layout.green == 0xFF00 && layout.blue == 0xFF) {
        // The common layout (GDI's and most back buffers'), byte by byte.
        for (int y = 0; y < height; ++y) {
            const uint8_t* p = top + y * pitch;
            for (int x = 0; x < width; ++x, p += 4, out += 3) out[0] = p[2], out[1] = p[1], out[2] = p[0];
        }
        return true;
    }
    const Channel red(layout.red), green(layout.green), blue(layout.blue);
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = top + y * pitch;
        for (int x = 0; x < width; ++x, p += bytes, out += 3) {
            const uint32_t pixel = Load(p, bytes);
            out[0] = red.Of(pixel), out[1] = green.Of(pixel), out[2] = blue.Of(pixel);
        }
    }
    return true;
}
