#include "tests/native/bmp_reader.h"

#include <fstream>
#include <iterator>

std::ostream& operator<<(std::ostream& out, const Colour& colour) {
    return out << "(" << colour.red << ", " << colour.green << ", " << colour.blue << ")";
}

BmpFile::BmpFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

uint32_t BmpFile::U16(std::size_t offset) const {
    if (offset + 2 > bytes_.size()) return 0;
    return bytes_[offset] | uint32_t(bytes_[offset + 1]) << 8;
}

uint32_t BmpFile::U32(std::size_t offset) const { return U16(offset) | U16(offset + 2) << 16; }

bool BmpFile::HoldsPixels() const {
    if (U16(28) != 24 || Width() <= 0 || Height() <= 0) return false;
    return U32(10) + RowBytes() * std::size_t(Height()) <= bytes_.size();
}

Colour BmpFile::Pixel(int x, int y) const {
    if (!HoldsPixels() || x < 0 || x >= Width() || y < 0 || y >= Height()) return {-1, -1, -1};
    const std::size_t at = U32(10) + RowBytes() * std::size_t(Height() - 1 - y) + std::size_t(x) * 3;
    return {bytes_[at + 2], bytes_[at + 1], bytes_[at]};
}
