// vis_host capturing kind_probe.dll, whose modules show their frames as the
// player's other plug-ins do (see kind_probe.cpp): every frame is read back,
// from the right window, shows the Render it follows, and is the same on
// every run; where it cannot be read, the capture says so. The 3D modules
// are host_capture_3d_test's.
#include <algorithm>
#include <memory>

#include "plugin/player_protocol.h"
#include "tests/wine/host_fixture.h"

namespace {

constexpr int Frames = 24;

// The Render a frame shows: band 0's green is 37 times its number, mod 256,
// and 173 undoes the 37.
int RenderShown(const RgbImage& image) { return At(image, image.width / 16, image.height / 2).green * 173 % 256; }

struct KindCase {
    const char* plugin;
    int module;
    const char* kind;
    int width, height;  // the display read back
    bool paced;         // drawn on the plug-in's own clock: a frame shows the latest Render
};

// Each kind captured twice, the second time beside a process that keeps the
// cores busy: the plug-in's threads, sleeps and clocks follow the song's
// frames, so both runs give the same frames byte for byte.
TEST(HostCaptureKinds, EveryFrameShowsItsRenderTheSameOnEveryRun) {
    const KindCase cases[] = {
        {"kind_probe.dll", 0, "own thread woken by Render, child of the embed frame", 320 - EmbedChildWidthLess,
         240 - EmbedChildHeightLess, false},
        {"kind_probe.dll", 1, "DirectDraw window", 256, 128, false},
        {"kind_probe.dll", 2, "DirectDraw full screen: the screen's mode, which Xvfb cannot change", 1280, 1024, false},
        {"blit_probe.dll", 0, "DirectDraw surface copied with GDI into a child of the embed frame, as AVS does",
         320 - EmbedChildWidthLess, 240 - EmbedChildHeightLess, false},
        {"kind_probe.dll", 4, "own thread paced by Sleep and timeGetTime", 320 - EmbedChildWidthLess,
         240 - EmbedChildHeightLess, true},
        {"kind_probe.dll", 5, "own thread spinning on QueryPerformanceCounter", 320 - EmbedChildWidthLess,
         240 - EmbedChildHeightLess, true},
    };
    const std::string folder = NewTempFolder("host-kinds");
    const std::string clip =
        WriteClip(folder, "tone.wav", 3.0, [](int i, int c) { return Sine(i, c ? 330 : 220, 0.6); });
    for (const KindCase& c : cases) {
        SCOPED_TRACE(c.kind);
        std::string frames[2];
        for (int run = 0; run < 2; ++run) {
            frames[run] = folder + "\\frames-" + c.plugin + std::to_string(c.module) + "-" + std::to_string(run);
            std::unique_ptr<CpuHog> hog(run == 1 ? new CpuHog : nullptr);
            const HostRun host =
                RunHost("--module " + std::to_string(c.module) + " --frames " + std::to_string(Frames) +
                        " --capture \"" + frames[run] + "\" " + c.plugin + " \"" + clip + "\"");
            ASSERT_EQ(host.exitCode, 0) << host.output;
            EXPECT_TRUE(Contains(host.output, "; frames follow the song's clock")) << host.output;
        }
        ExpectSameFrames(frames[0], frames[1], Frames);
        int previous = 0, changes = 0;
        RgbImage last;
        for (int frame = 1; frame <= Frames; ++frame) {
            const RgbImage image = ReadPng(FramePath(frames[0], frame));
            ASSERT_EQ(image.width, c.width) << "frame " << frame;
            ASSERT_EQ(image.height, c.height) << "frame " << frame;
            const int render = RenderShown(image);
            if (c.paced) {
                // Never ahead of Render, never back in time.
                EXPECT_LE(render, frame) << "frame " << frame;
                EXPECT_GE(render, previous) << "frame " << frame;
            } else {
                EXPECT_EQ(render, frame);
            }
            changes += image.pixels != last.pixels;
            previous = render;
            last = image;
        }
        // A paced thread draws every 25 ms of the song: every frame.
        EXPECT_EQ(changes, Frames);
    }
    RemoveFolder(folder);
}

}  // namespace
