// Walks the pages of an Ogg stream and checks each page's length and checksum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Empty when every page is whole, its checksum holds and the last page ends
// the stream; otherwise what is wrong.
std::string CheckOggPages(const uint8_t* bytes, std::size_t size);

// The Ogg checksum (CRC-32, polynomial 0x04C11DB7, no reflection, start 0),
// continued from crc.
uint32_t OggChecksum(const uint8_t* bytes, std::size_t size, uint32_t crc = 0);
