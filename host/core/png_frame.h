// Writes captured frames as numbered PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Rows top to bottom of red, green, blue bytes.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

// DIR/frame-000001.png for number 1.
std::string FramePath(const std::string& dir, int number);

// Creates the folder and its parents; false with the reason when it cannot.
bool MakeFolder(const std::string& dir, std::string& error);

bool WritePng(const std::string& path, const RgbImage& image);
