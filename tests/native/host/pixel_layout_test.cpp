// The pixel layouts that presents leave, read into a frame's RGB rows.
#include <gtest/gtest.h>

#include <vector>

#include "host/core/pixel_layout.h"

namespace {

std::vector<int> Rgb(const RgbImage& image) { return std::vector<int>(image.pixels.begin(), image.pixels.end()); }

TEST(PixelLayout, MaskedLayoutsReadAtEightBitsPerColour) {
    // Two rows of two pixels, the rows 2 bytes of padding apart.
    const struct {
        const char* name;
        PixelLayout layout;
        std::vector<uint8_t> bytes;
        std::vector<int> rgb;
    } cases[] = {
        {"X8R8G8B8",
         {4, 0xFF0000, 0xFF00, 0xFF},
         {0x03, 0x02, 0x01, 0xEE, 0x30, 0x20, 0x10, 0xEE, 0, 0, /**/ 0xFF, 0x00, 0x80, 0, 0, 0, 0, 0xFF, 0, 0},
         {1, 2, 3, 0x10, 0x20, 0x30, /**/ 0x80, 0, 0xFF, 0, 0, 0}},
        {"R5G6B5: full scale is 255, the middle rounds",
         {2, 0xF800, 0x07E0, 0x001F},
         {0xFF, 0xFF, 0x00, 0x00, 0, 0, /**/ 0x10, 0x84, 0x1F, 0x00, 0, 0},
         {255, 255, 255, 0, 0, 0, /**/ 132, 130, 132, 0, 0, 255}},
        {"X1R5G5B5: the top bit is not a colour",
         {2, 0x7C00, 0x03E0, 0x001F},
         {0x00, 0x80, 0x00, 0x7C, 0, 0, /**/ 0xE0, 0x03, 0x1F, 0x00, 0, 0},
         {0, 0, 0, 255, 0, 0, /**/ 0, 255, 0, 0, 0, 255}},
        {"R8G8B8 in 3 bytes",
         {3, 0xFF0000, 0xFF00, 0xFF},
         {0x03, 0x02, 0x01, 0x06, 0x05, 0x04, 0, 0, /**/ 0x09, 0x08, 0x07, 0x0C, 0x0B, 0x0A, 0, 0},
         {1, 2, 3, 4, 5, 6, /**/ 7, 8, 9, 10, 11, 12}},
        {"A2B10G10R10: wide colours keep their top 8 bits",
         {4, 0x3FF, 0xFFC00, 0x3FF00000},
         {0xFF, 0x03, 0x00, 0xC0, 0x00, 0xFC, 0x0F, 0x00, 0, 0, /**/ 0, 0, 0xF0, 0x3F, 0x00, 0x02, 0, 0, 0, 0},
         {255, 0, 0, 0, 255, 0, /**/ 0, 0, 255, 128, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RgbImage image;
        const long pitch = long(c.bytes.size() / 2);
        ASSERT_TRUE(ConvertPixels(c.bytes.data(), pitch, 2, 2, c.layout, image));
        EXPECT_EQ(image.width, 2);
        EXPECT_EQ(image.height, 2);
        EXPECT_EQ(Rgb(image), c.rgb);
    }
}

TEST(PixelLayout, BottomUpRowsPalettesAndUnreadableLayouts) {
    // An OpenGL read-back: the last row in memory is the top of the picture.
    const uint8_t rows[] = {1, 2, 3, 0, /**/ 4, 5, 6, 0};
    RgbImage image;
    ASSERT_TRUE(ConvertPixels(rows + 4, -4, 1, 2, PixelLayout{4, 0xFF, 0xFF00, 0xFF0000}, image));
    EXPECT_EQ(Rgb(image), (std::vector<int>{4, 5, 6, 1, 2, 3}));

    uint8_t palette[256][3] = {};
    palette[7][0] = 9, palette[7][1] = 8, palette[7][2] = 7;
    const uint8_t indexed[] = {7, 0};
    ASSERT_TRUE(ConvertPixels(indexed, 2, 2, 1, PixelLayout{1, 0, 0, 0, palette}, image));
    EXPECT_EQ(Rgb(image), (std::vector<int>{9, 8, 7, 0, 0, 0}));

    const PixelLayout unreadable[] = {
        {1, 0, 0, 0, nullptr}, {8, 0xFF, 0xFF00, 0xFF0000}, {4, 0, 0xFF00, 0xFF}, {4, 0xF0F, 0xF000, 0xF0}};
    for (const PixelLayout& layout : unreadable) EXPECT_FALSE(ConvertPixels(rows, 4, 1, 2, layout, image));
    EXPECT_EQ(Rgb(image), (std::vector<int>{9, 8, 7, 0, 0, 0})) << "a refused layout leaves the image alone";
}

}  // namespace
