#include "host/core/ppm_stream.h"

#include <algorithm>
#include <cstring>

PpmStream::~PpmStream() {
    if (file_) std::fclose(file_);
}

void PpmStream::Flush() {
    if (file_) std::fflush(file_);
}

bool PpmStream::Open(const std::string& path, std::string& error) {
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) error = path + ": cannot open it for writing";
    return file_ != nullptr;
}

bool PpmStream::Write(const RgbImage& image) {
    if (!file_ || image.width <= 0 || image.height <= 0) return false;
    if (!width_) {
        width_ = image.width;
        height_ = image.height;
        row_.resize(std::size_t(width_) * 3);
    }
    if (std::fprintf(file_, "P6\n%d %d\n255\n", width_, height_) < 0) return false;
    if (image.width == width_ && image.height == height_) {
        const std::size_t size = image.pixels.size();
        return std::fwrite(image.pixels.data(), 1, size, file_) == size && std::fflush(file_) == 0;
    }
    const std::size_t copied = std::size_t(std::min(width_, image.width)) * 3;
    for (int y = 0; y < height_; ++y) {
        std::fill(row_.begin(), row_.end(), uint8_t(0));
        if (y < image.height) std::memcpy(row_.data(), image.pixels.data() + std::size_t(y) * image.width * 3, copied);
        if (std::fwrite(row_.data(), 1, row_.size(), file_) != row_.size()) return false;
    }
    return std::fflush(file_) == 0;
}
