// Builds RIFF WAVE images, for the tests and the demo clip generator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct WavShape {
    uint16_t formatTag = 1;  // 1 PCM, 3 IEEE float
    uint16_t channels = 2;
    uint32_t rate = 44100;
    uint16_t bits = 16;
};

// A complete file around the given sample bytes (interleaved, little-endian).
std::vector<uint8_t> BuildWav(const WavShape& shape, const std::vector<uint8_t>& sampleBytes);

// Samples in -1..1 of each channel, interleaved, encoded in the shape's format.
std::vector<uint8_t> EncodeSamples(const WavShape& shape, const std::vector<double>& interleaved);

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
