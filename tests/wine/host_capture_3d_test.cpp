// vis_host capturing kind_probe.dll's Direct3D 9 and OpenGL modules, which
// draw into a child of the embed frame where Wine cannot read them back from
// the screen: each frame is taken at the module's present, shows the Render
// it follows the right way up, has the back buffer's size, the one asked
// for with --size where Direct3D gives it, and is the same on every run, on
// a loaded machine too.
#include <memory>

#include "plugin/player_protocol.h"
#include "tests/wine/host_fixture.h"
#include "tests/wine/kind_probe.h"

namespace {

constexpr int Frames = 24;

// The Render a frame shows: band 0's green is 37 times its number, mod 256,
// and 173 undoes the 37.
int RenderShown(const RgbImage& image) { return At(image, image.width / 16, image.height / 2).green * 173 % 256; }

TEST(HostCapture3d, EveryFrameIsThePresentOfItsRender) {
    const int childWidth = 320 - EmbedChildWidthLess, childHeight = 240 - EmbedChildHeightLess;
    const struct {
        int module;
        const char* kind;
        const char* options;
        int width, height;
    } cases[] = {
        {3, "Direct3D 9", "", childWidth, childHeight},
        {6, "OpenGL", "", childWidth, childHeight},
        {3, "Direct3D 9, its back buffer of the size asked for", "--size 1280x720 ", 1280, 720},
    };
    const std::string folder = NewTempFolder("host-3d");
    const std::string clip =
        WriteClip(folder, "tone.wav", 2.0, [](int i, int c) { return Sine(i, c ? 330 : 220, 0.6); });
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        std::string runs[2];
        for (std::string& frames : runs) {
            frames = folder + "\\frames-" + std::to_string(++run);
            std::unique_ptr<CpuHog> hog(&frames == &runs[1] ? new CpuHog : nullptr);
            const HostRun host =
                RunHost(std::string(c.options) + "--module " + std::to_string(c.module) + " --frames " +
                        std::to_string(Frames) + " --capture \"" + frames + "\" kind_probe.dll \"" + clip + "\"");
            ASSERT_EQ(host.exitCode, 0) << host.output;
        }
        ExpectSameFrames(runs[0], runs[1], Frames);
        const std::string& frames = runs[0];
        for (int frame = 1; frame <= Frames; ++frame) {
            const RgbImage image = ReadPng(FramePath(frames, frame));
            ASSERT_EQ(image.width, c.width) << "frame " << frame;
            ASSERT_EQ(image.height, c.height) << "frame " << frame;
            EXPECT_EQ(RenderShown(image), frame);
            // Band 7 is blue 224 below the black strip at the top.
            EXPECT_EQ(At(image, image.width * 15 / 16, image.height / (2 * ProbeTopStrip)).blue, 0) << frame;
            EXPECT_EQ(At(image, image.width * 15 / 16, image.height - 1).blue, 224) << frame;
        }
    }
    RemoveFolder(folder);
}

}  // namespace
