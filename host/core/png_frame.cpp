#include "host/core/png_frame.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include <stb_image_write.h>

std::string FramePath(const std::string& dir, int number) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06d.png", number);
    return (std::filesystem::path(dir) / name).string();
}

bool MakeFolder(const std::string& dir, std::string& error) {
    std::error_code code;
    std::filesystem::create_directories(dir, code);
    if (!code && std::filesystem::is_directory(dir, code)) return true;
    error = dir + ": cannot create the folder" + (code ? ": " + code.message() : std::string());
    return false;
}

bool WritePng(const std::string& path, const RgbImage& image) {
    if (image.width <= 0 || image.height <= 0) return false;
    return stbi_write_png(path.c_str(), image.width, image.height, 3, image.pixels.data(), image.width * 3) != 0;
}
