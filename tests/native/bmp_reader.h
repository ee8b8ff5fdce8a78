// Reads a BMP file byte for byte, so that tests can check the committed skins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct Colour {
    int red, green, blue;
    bool operator==(const Colour& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

std::ostream& operator<<(std::ostream& out, const Colour& colour);

class BmpFile {
public:
    explicit BmpFile(const std::string& path);  // no bytes when unreadable

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    // Little-endian fields; 0 beyond the end of the file.
    uint32_t U16(std::size_t offset) const;
    uint32_t U32(std::size_t offset) const;
    int Width() const { return int32_t(U32(18)); }
    int Height() const { return int32_t(U32(22)); }
    std::size_t RowBytes() const { return (std::size_t(Width()) * 3 + 3) & ~std::size_t(3); }

    // Whether the file is long enough for a bottom-up 24-bit picture of its size.
    bool HoldsPixels() const;
    // The pixel at column x and row y counted from the top as displayed.
    Colour Pixel(int x, int y) const;

private:
    std::vector<uint8_t> bytes_;
};
