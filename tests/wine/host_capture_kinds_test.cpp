// vis_host capturing kind_probe.dll, whose modules show their frames as the
// player's other plug-ins do (see kind_probe.cpp): every frame is read back,
// from the right window, and shows the Render it follows; where it cannot be
// read, the capture says so.
#include <algorithm>

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
    bool ownThread;     // frames may lag behind Render by the plug-in's own thread
};

TEST(HostCaptureKinds, EveryFrameShowsTheDisplayOfItsRender) {
    const KindCase cases[] = {
        {"kind_probe.dll", 0, "own thread, child of the embed frame", 320 - EmbedChildWidthLess,
         240 - EmbedChildHeightLess, true},
        {"kind_probe.dll", 1, "DirectDraw window", 256, 128, false},
        {"kind_probe.dll", 2, "DirectDraw full screen: the screen's mode, which Xvfb cannot change", 1280, 1024, false},
        {"blit_probe.dll", 0, "DirectDraw surface copied with GDI into a child of the embed frame, as AVS does",
         320 - EmbedChildWidthLess, 240 - EmbedChildHeightLess, false},
    };
    const std::string folder = NewTempFolder("host-kinds");
    const std::string clip =
        WriteClip(folder, "tone.wav", 3.0, [](int i, int c) { return Sine(i, c ? 330 : 220, 0.6); });
    for (const KindCase& c : cases) {
        SCOPED_TRACE(c.kind);
        const std::string frames = folder + "\\frames-" + c.plugin + std::to_string(c.module);
        const HostRun run = RunHost("--module " + std::to_string(c.module) + " --frames " + std::to_string(Frames) +
                                    " --capture \"" + frames + "\" " + c.plugin + " \"" + clip + "\"");
        ASSERT_EQ(run.exitCode, 0) << run.output;
        // The thread the plug-in started in Init makes its frames a matter of timing.
        EXPECT_TRUE(Contains(run.output, c.ownThread ? "; frames follow the plug-in's own thread: not reproducible"
                                                     : "; frames follow Render"))
            << run.output;
        int previous = 0, changes = 0;
        RgbImage last;
        for (int frame = 1; frame <= Frames; ++frame) {
            const RgbImage image = ReadPng(FramePath(frames, frame));
            ASSERT_EQ(image.width, c.width) << "frame " << frame;
            ASSERT_EQ(image.height, c.height) << "frame " << frame;
            const int render = RenderShown(image);
            if (c.ownThread) {
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
        // A plug-in's own thread may miss a frame period now and then, not most of them.
        EXPECT_GE(changes, c.ownThread ? Frames / 2 : Frames);
    }
    RemoveFolder(folder);
}

}  // namespace

namespace {

// Wine draws Direct3D 9 (through OpenGL) into a child window where GDI cannot
// read it: the capture must say so rather than write black frames.
TEST(HostCaptureKinds, Direct3DInTheEmbedFrameFailsWithAWord) {
    const std::string folder = NewTempFolder("host-kinds-d3d9");
    const std::string clip = WriteClip(folder, "tone.wav", 1.0, [](int i, int) { return Sine(i, 220, 0.6); });
    const std::string log = folder + "\\probe.log", frames = folder + "\\frames";
    const HostRun run =
        RunHost("--module 3 --frames 8 --capture \"" + frames + "\" kind_probe.dll \"" + clip + "\"", log);
    const std::vector<std::string> lines = ReadLines(log);
    // The device was made and presented: only reading it back fails.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "d3d9 init direct3d=1 started=1"), lines.end()) << run.output;
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_TRUE(Contains(run.output, "vis_host: capture: ")) << run.output;
    EXPECT_FALSE(FileExists(FramePath(frames, 1)));
    RemoveFolder(folder);
}

}  // namespace
