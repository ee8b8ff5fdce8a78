#include "host/audio/ogg_pages.h"

#include <cstring>

namespace {

constexpr std::size_t PageHeaderSize = 27;
constexpr uint8_t EndOfStream = 4;

struct ChecksumTable {
    uint32_t entries[256];
    ChecksumTable() {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = i << 24;
            for (int bit = 0; bit < 8; ++bit) r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
            entries[i] = r;
        }
    }
};

}  // namespace

uint32_t OggChecksum(const uint8_t* bytes, std::size_t size, uint32_t crc) {
    static const ChecksumTable table;
    for (std::size_t i = 0; i < size; ++i) crc = (crc << 8) ^ table.entries[((crc >> 24) ^ bytes[i]) & 0xFF];
    return crc;
}

std::string CheckOggPages(const uint8_t* bytes, std::size_t size) {
    std::size_t at = 0;
    int page = 0;
    uint8_t lastFlags = 0;
    while (at < size) {
        ++page;
        const std::string where = "page " + std::to_string(page) + " (byte " + std::to_string(at) + ")";
        if (size - at < PageHeaderSize) return "truncated: " + where + " has an incomplete header";
        const uint8_t* p = bytes + at;
        if (std::memcmp(p, "OggS", 4) != 0 || p[4] != 0) return "corrupt: " + where + " does not start an Ogg page";
        const std::size_t segments = p[26];
        if (size - at < PageHeaderSize + segments) return "truncated: " + where + " has an incomplete segment table";
        std::size_t length = PageHeaderSize + segments;
        for (std::size_t s = 0; s < segments; ++s) length += p[PageHeaderSize + s];
        if (size - at < length) return "truncated: " + where + " ends before its " + std::to_string(length) + " bytes";
        uint8_t copy[PageHeaderSize];
        std::memcpy(copy, p, PageHeaderSize);
        std::memset(copy + 22, 0, 4);
        const uint32_t crc =
            OggChecksum(p + PageHeaderSize, length - PageHeaderSize, OggChecksum(copy, PageHeaderSize));
        const uint32_t stored = uint32_t(p[22]) | uint32_t(p[23]) << 8 | uint32_t(p[24]) << 16 | uint32_t(p[25]) << 24;
        if (crc != stored) return "corrupt: " + where + " fails its checksum";
        lastFlags = p[5];
        at += length;
    }
    if (page == 0) return "empty file";
    if (!(lastFlags & EndOfStream)) return "truncated: the stream ends without its final page";
    return {};
}
