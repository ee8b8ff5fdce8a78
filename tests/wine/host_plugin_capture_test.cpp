// vis_host running our own vis_kt.dll in capture mode: the frames it reads
// back show the meters the clip should give.
#include "display/skin_layout.h"
#include "tests/wine/host_fixture.h"

namespace {

// Level of a steady sine of the given peak in 8-bit steps: the decibel table
// entry of its mean magnitude, 2/pi of the peak.
int ExpectedLevel(double peak) {
    const double mean = peak * 2 / 3.14159265358979323846;
    return int(std::lround(60 * std::log10(mean / 128) + 128));
}

class HostWithOurPlugin : public ::testing::Test {
protected:
    void SetUp() override { folder = NewTempFolder("host-vis-kt"); }
    void TearDown() override { RemoveFolder(folder); }

    HostRun Capture(const std::string& options, const std::string& clip) {
        frames = folder + "\\frames" + std::to_string(++runs);
        return RunHost(options + " --capture \"" + frames + "\" vis_kt.dll \"" + clip + "\"");
    }

    RgbImage Frame(int number) const { return ReadPng(FramePath(frames, number)); }

    // Lit pixels in the given rows of the spectrum field.
    static int LitInSpectrum(const RgbImage& frame, Rows rows) {
        int lit = 0;
        for (int y = rows.top; y < rows.bottom; ++y)
            for (int x = SpectrumField.left; x < SpectrumField.right; ++x) lit += Lit(frame, x, y);
        return lit;
    }

    std::string folder, frames;
    int runs = 0;
};

TEST_F(HostWithOurPlugin, VuMeterBarsShowTheToneLevel) {
    for (const double amplitude : {0.5, 0.125}) {
        // A period of 64 samples: the 256 samples the meter measures hold four whole periods.
        const std::string clip =
            WriteClip(folder, "tone.wav", 1.0, [&](int f, int) { return Sine(f, 44100 / 64.0, amplitude); });
        const HostRun run = Capture("--module 1 --frames 20", clip);
        ASSERT_EQ(run.exitCode, 0) << run.output;
        const RgbImage frame = Frame(20);
        ASSERT_EQ(frame.width, SkinWidth);
        ASSERT_EQ(frame.height, VuMeterSkin.height);
        const int level = ExpectedLevel(amplitude * 128);
        const int row = VuMeterSkin.levelBarRows.top + 1;
        int leftmost = CentreGap.left, rightmost = CentreGap.right - 1;
        for (int x = LeftLevelBar.left; x < LeftLevelBar.right; ++x)
            if (Lit(frame, x, row)) leftmost = std::min(leftmost, x);
        for (int x = RightLevelBar.left; x < RightLevelBar.right; ++x)
            if (Lit(frame, x, row)) rightmost = std::max(rightmost, x);
        EXPECT_NEAR(LeftBarInner - leftmost, level, 2) << "amplitude " << amplitude;
        EXPECT_NEAR(rightmost - RightBarInner, level, 2) << "amplitude " << amplitude;
    }
}

// The docked strip has its own sizes: --double doubles them, --size is not
// for it, and the run says so.
TEST_F(HostWithOurPlugin, DoubleSizeDoublesTheFramesAndSizeSaysItDoesNotApply) {
    const std::string clip = WriteClip(folder, "tone.wav", 0.5, [](int f, int) { return Sine(f, 441, 0.5); });
    const HostRun run = Capture("--module 1 --double --size 640x480 --frames 5", clip);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(Frame(5).width, 2 * SkinWidth);
    EXPECT_EQ(Frame(5).height, 2 * VuMeterSkin.height);
    EXPECT_TRUE(Contains(run.output,
                         "vis_host: --size 640x480 does not apply to this module: its display keeps its "
                         "own size, " +
                             std::to_string(2 * SkinWidth) + " x " + std::to_string(2 * VuMeterSkin.height)))
        << run.output;
}

TEST_F(HostWithOurPlugin, SpectrumFallsToRestWhenPausedOrStopped) {
    const std::string clip = WriteClip(folder, "chord.wav", 2.0, [](int f, int) {
        return Sine(f, 110, 0.3) + Sine(f, 700, 0.25) + Sine(f, 2500, 0.2) + Sine(f, 9000, 0.15);
    });
    for (const char* action : {"pause", "stop"}) {
        const HostRun run = Capture(std::string("--module 0 --frames 70 --at 20:") + action, clip);
        ASSERT_EQ(run.exitCode, 0) << run.output;
        const RgbImage playing = Frame(20), resting = Frame(70);
        ASSERT_EQ(playing.height, DeduzodoSkin.height);
        // The bottom three rows: bars of height 1 and the peak marks above them.
        const Rows upper{SpectrumRows.top, SpectrumRows.bottom - 3}, lower{upper.bottom, SpectrumRows.bottom};
        EXPECT_GT(LitInSpectrum(playing, upper), 100) << action;
        EXPECT_EQ(LitInSpectrum(resting, upper), 0) << action;
        EXPECT_GT(LitInSpectrum(resting, lower), 0) << action;  // bars of height 1 stay lit
    }
}

TEST_F(HostWithOurPlugin, ConfigFromTheMainThreadWhileRendering) {
    const std::string clip = WriteClip(folder, "tone.wav", 2.0, [](int f, int) { return Sine(f, 441, 0.5); });
    const HostRun run = Capture("--module 0 --config --frames 60", clip);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(FileExists(FramePath(frames, 60)));
}

}  // namespace
