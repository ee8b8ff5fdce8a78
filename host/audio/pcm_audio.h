// Decoded audio as the host plays it: interleaved signed 16-bit frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PcmAudio {
    int rate = 0;      // frames per second
    int channels = 0;  // 1 or 2
    std::vector<int16_t> samples;

    int64_t Frames() const { return channels ? int64_t(samples.size()) / channels : 0; }
};

// The result of reading a file: audio, or an error text naming the problem.
struct AudioResult {
    PcmAudio audio;
    std::string error;  // empty on success

    bool Ok() const { return error.empty(); }
};

// Rates outside this range are taken for a damaged header.
constexpr int MinSampleRate = 1000;
constexpr int MaxSampleRate = 768000;

// The error text for a channel count or rate the host cannot play, or empty.
std::string CheckStreamShape(int channels, long long rate);
