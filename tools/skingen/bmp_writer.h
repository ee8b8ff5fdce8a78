// Writes an image as an uncompressed 24-bit bottom-up BMP file.
#pragma once

#include <string>

#include "tools/skingen/image.h"

// False when the file cannot be written.
bool WriteBmp(const Image& image, const std::string& path);
