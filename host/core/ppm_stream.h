// Captured frames as one stream of binary PPM images, for a video encoder
// reading a pipe: no compression, so a frame costs a copy, not an encoding.
#pragma once

#include <cstdio>
#include <string>

#include "host/core/png_frame.h"

class PpmStream {
public:
    PpmStream() = default;
    PpmStream(const PpmStream&) = delete;
    PpmStream& operator=(const PpmStream&) = delete;
    ~PpmStream();

    // False with the reason when the file cannot be opened for writing.
    bool Open(const std::string& path, std::string& error);
    // Every image takes the first one's size, cropped or padded with black,
    // since an encoder takes one size per stream. False when the reader has
    // gone away or the disk is full.
    bool Write(const RgbImage& image);
    // Hands what was written to the file or pipe.
    void Flush();

private:
    std::FILE* file_ = nullptr;
    int width_ = 0, height_ = 0;
    std::vector<uint8_t> row_;
};
