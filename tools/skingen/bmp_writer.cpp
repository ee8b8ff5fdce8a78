#include "tools/skingen/bmp_writer.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace {

constexpr uint32_t FileHeaderSize = 14, InfoHeaderSize = 40;
constexpr uint32_t PixelsPerMetre = 3779;  // 96 dots per inch

class LittleEndian {
public:
    std::vector<uint8_t> bytes;
    void U16(uint32_t v) {
        bytes.push_back(uint8_t(v));
        bytes.push_back(uint8_t(v >> 8));
    }
    void U32(uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
};

}  // namespace

bool WriteBmp(const Image& image, const std::string& path) {
    const uint32_t rowBytes = (uint32_t(image.width) * 3 + 3) & ~3u;
    const uint32_t pixelOffset = FileHeaderSize + InfoHeaderSize;
    LittleEndian out;
    out.bytes = {'B', 'M'};
    out.U32(pixelOffset + rowBytes * uint32_t(image.height));
    out.U32(0);  // two reserved words
    out.U32(pixelOffset);

    out.U32(InfoHeaderSize);
    out.U32(uint32_t(image.width));
    out.U32(uint32_t(image.height));  // positive: rows stored bottom-up
    out.U16(1);                       // planes
    out.U16(24);                      // bits per pixel
    out.U32(0);                       // no compression
    out.U32(0);                       // image size, optional when uncompressed
    out.U32(PixelsPerMetre);
    out.U32(PixelsPerMetre);
    out.U32(0);  // colours used: no colour table
    out.U32(0);  // colours important

    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb& p = image.at(x, y);
            out.bytes.insert(out.bytes.end(), {p.blue, p.green, p.red});
        }
        out.bytes.resize(out.bytes.size() + rowBytes - uint32_t(image.width) * 3, 0);
    }

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.bytes.data()), std::streamsize(out.bytes.size()));
    return bool(file);
}
