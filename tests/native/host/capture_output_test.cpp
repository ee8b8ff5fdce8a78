// What capture writes besides the PNG files: the pace of its frames and the
// stream of PPM images an encoder reads.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "host/core/frame_pace.h"
#include "host/core/ppm_stream.h"

namespace {

TEST(CapturePace, TheModulesDelayWhenSensibleElseSixtyOrAsked) {
    const struct {
        int delayMs, fps;
        const char* rate;
        double ms;
    } cases[] = {
        {25, 0, "1000/25", 25},     {10, 0, "1000/10", 10},      {1000, 0, "1000/1000", 1000},
        {0, 0, "60", 1000 / 60.0},  {9, 0, "60", 1000 / 60.0},   {1001, 0, "60", 1000 / 60.0},
        {-5, 0, "60", 1000 / 60.0}, {25, 30, "30", 1000 / 30.0},
    };
    for (const auto& c : cases) {
        const FramePace pace = CapturePace(c.delayMs, c.fps);
        EXPECT_EQ(pace.RateText(), c.rate) << c.delayMs << " " << c.fps;
        EXPECT_DOUBLE_EQ(pace.Milliseconds(), c.ms) << c.delayMs << " " << c.fps;
    }
}

RgbImage Filled(int width, int height, uint8_t value) {
    RgbImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(std::size_t(width) * height * 3, value);
    return image;
}

TEST(PpmStream, EveryImageTakesTheFirstOnesSize) {
    const std::string path = testing::TempDir() + "stream.ppm";
    {
        PpmStream stream;
        std::string error;
        ASSERT_TRUE(stream.Open(path, error)) << error;
        ASSERT_TRUE(stream.Write(Filled(2, 2, 7)));
        ASSERT_TRUE(stream.Write(Filled(3, 1, 9)));  // cropped to 2 wide, padded to 2 high
    }
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::string header = "P6\n2 2\n255\n";
    const std::string expected = header + std::string(12, '\7') + header + std::string(6, '\11') + std::string(6, '\0');
    EXPECT_EQ(bytes, expected);
    std::remove(path.c_str());
    PpmStream nowhere;
    std::string error;
    EXPECT_FALSE(nowhere.Open(testing::TempDir() + "no/such/folder/x.ppm", error));
    EXPECT_NE(error.find("cannot open it for writing"), std::string::npos) << error;
}

}  // namespace
