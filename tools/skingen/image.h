// A 24-bit picture in memory, rows top-down as displayed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Rgb {
    uint8_t red = 0, green = 0, blue = 0;
};

struct Image {
    int width, height;
    std::vector<Rgb> pixels;

    Image(int w, int h) : width(w), height(h), pixels(std::size_t(w) * h) {}
    Rgb& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    const Rgb& at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};
