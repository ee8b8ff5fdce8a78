// vis_host driving probe_vis.dll, which logs every call and shows in its
// window what each frame was made from (see probe_plugin.cpp).
#include <cstdio>
#include <fstream>
#include <iterator>

#include "tests/wine/host_fixture.h"

namespace {

constexpr int Rate = 44100, DelayMs = 25, LatencyFrames = 441;  // the probe's latencyMs is 10
constexpr int FromRender = 0x10, FromTimer = 0x20;

// Sample bytes the probe should see: each channel counts through its own cycle.
int LeftByte(int64_t frame) { return int(frame % 200) - 100; }
int RightByte(int64_t frame) { return int(frame % 97) - 48; }

// The byte of frame f in -128..127 lands exactly as the high byte of its sample.
double PatternSample(int frame, int channel) { return (channel == 0 ? LeftByte(frame) : RightByte(frame)) / 128.0; }

int64_t RenderPosition(int render) { return int64_t(render) * DelayMs * Rate / 1000 + LatencyFrames; }

int Field(const std::string& line, const std::string& name) {
    const std::size_t at = line.find(name + "=");
    return at == std::string::npos ? -9999 : std::stoi(line.substr(at + name.size() + 1), nullptr, 0);
}

std::string FieldText(const std::string& line, const std::string& name) {
    const std::size_t at = line.find(name + "=");
    if (at == std::string::npos) return {};
    const std::size_t from = at + name.size() + 1;
    return line.substr(from, line.find(' ', from) - from);
}

std::vector<std::string> LinesStarting(const std::vector<std::string>& lines, const std::string& start) {
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.rfind(start, 0) == 0) found.push_back(line);
    return found;
}

class HostProbe : public ::testing::Test {
protected:
    void TearDown() override { RemoveFolder(folder); }
    void SetUp() override {
        folder = NewTempFolder("host-probe");
        clip = WriteClip(folder, "pattern.wav", 2.0, PatternSample);
        log = folder + "\\probe.log";
        frames = folder + "\\frames";
    }

    HostRun Capture(const std::string& options) {
        return RunHost(options + " --capture \"" + frames + "\" probe_vis.dll \"" + clip + "\"", log);
    }

    Pixel FirstPixel(int frame) const {
        const RgbImage image = ReadPng(FramePath(frames, frame));
        EXPECT_EQ(image.width, 32) << "frame " << frame;
        return image.pixels.empty() ? Pixel{-1, -1, -1} : At(image, 0, 0);
    }

    std::string folder, clip, log, frames;
};

TEST_F(HostProbe, CallsTheModuleOnItsOwnThreadWithTheRecordFilled) {
    const HostRun run = Capture("--frames 5");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::vector<std::string> lines = ReadLines(log);
    // Asked once, with the player window, on the thread that then runs the module.
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("header player=vis_host player ", 0), 0u) << lines[0];
    const std::string& init = lines[1];
    ASSERT_EQ(init.rfind("init ", 0), 0u) << init;
    const std::string visThread = FieldText(init, "thread");
    EXPECT_EQ(FieldText(lines[0], "thread"), visThread);
    EXPECT_NE(visThread, FieldText(init, "parent_thread"));
    EXPECT_EQ(Field(init, "instance_ok"), 1);
    EXPECT_EQ(Field(init, "rate"), Rate);
    EXPECT_EQ(Field(init, "ch"), 2);
    EXPECT_EQ(FieldText(init, "user"), "0");
    EXPECT_EQ(FieldText(init, "parent_size"), "275x116");
    const std::vector<std::string> renders = LinesStarting(lines, "render ");
    EXPECT_EQ(renders.size(), 5u);
    for (const std::string& render : renders) EXPECT_EQ(FieldText(render, "thread"), visThread);
    EXPECT_EQ(lines.back().rfind("quit thread=" + visThread + " ", 0), 0u) << lines.back();
    EXPECT_TRUE(Contains(run.output, "captured 5 frames of 25 ms")) << run.output;
}

TEST_F(HostProbe, SpecialHostAndDoubleSize) {
    const HostRun run = Capture("--frames 1 --special-host --double");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::string init = LinesStarting(ReadLines(log), "init ").at(0);
    EXPECT_EQ(FieldText(init, "user"), "584f51") << init;  // 'Q','O','X',0 little-endian
    EXPECT_EQ(FieldText(init, "parent_size"), "550x232") << init;
}

TEST_F(HostProbe, EachFrameCarriesTheSamplesOfItsPositionPlusLatency) {
    // At the module's delayMs, and at a pace asked for.
    const struct {
        const char* options;
        int frameMs;
        const char* says;
    } paces[] = {{"", DelayMs, "captured 12 frames of 25 ms"}, {"--fps 50", 20, "captured 12 frames of 20 ms"}};
    for (const auto& pace : paces) {
        SCOPED_TRACE(pace.options);
        DeleteFileA(log.c_str());
        frames = folder + "\\frames" + std::to_string(pace.frameMs);
        const HostRun run = Capture(std::string("--frames 12 ") + pace.options);
        ASSERT_EQ(run.exitCode, 0) << run.output;
        EXPECT_TRUE(Contains(run.output, pace.says)) << run.output;
        const std::vector<std::string> renders = LinesStarting(ReadLines(log), "render ");
        ASSERT_EQ(renders.size(), 12u);
        for (int k = 0; k < 12; ++k) {
            const int64_t at = int64_t(k) * pace.frameMs * Rate / 1000 + LatencyFrames;
            EXPECT_EQ(Field(renders[k], "w0"), LeftByte(at)) << "render " << k;
            EXPECT_EQ(Field(renders[k], "w1"), RightByte(at)) << "render " << k;
            const Pixel shown = FirstPixel(k + 1);
            EXPECT_EQ(shown.red, LeftByte(at) & 0xFF) << "frame " << k + 1;
            EXPECT_EQ(shown.green, RightByte(at) & 0xFF) << "frame " << k + 1;
            EXPECT_EQ(shown.blue, FromRender) << "frame " << k + 1;
        }
        EXPECT_FALSE(FileExists(FramePath(frames, 13)));
    }
}

TEST_F(HostProbe, WithoutAFrameLimitCaptureEndsWithTheFile) {
    clip = WriteClip(folder, "short.wav", 0.5, PatternSample);  // 22050 frames: 20 frames of 1102.5
    const HostRun run = Capture("");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    // Then the player's last frame, of silence.
    const Pixel last = FirstPixel(21);
    EXPECT_EQ(last.red, 0);
    EXPECT_EQ(last.green, 0);
    EXPECT_EQ(last.blue, FromRender);
    EXPECT_FALSE(FileExists(FramePath(frames, 22)));
}

TEST_F(HostProbe, PauseAndStopLeaveThePluginTimerRendering) {
    const HostRun run = Capture("--frames 30 --at 10:pause --at 20:play --at 25:stop");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    for (int frame = 1; frame <= 30; ++frame) {
        const Pixel shown = FirstPixel(frame);
        if (frame <= 10 || (frame > 20 && frame <= 25)) {
            // Rendered by the host; after the pause the position goes on from where it stopped.
            const int render = frame <= 10 ? frame - 1 : frame - 11;
            EXPECT_EQ(shown.blue, FromRender) << "frame " << frame;
            EXPECT_EQ(shown.red, LeftByte(RenderPosition(render)) & 0xFF) << "frame " << frame;
        } else if (frame == 26) {
            // Stopping renders once more, with silence; pausing does not.
            EXPECT_EQ(shown.blue, FromRender);
            EXPECT_EQ(shown.red, 0);
            EXPECT_EQ(shown.green, 0);
        } else {
            EXPECT_EQ(shown.blue, FromTimer) << "frame " << frame;
            EXPECT_EQ(shown.red, frame <= 20 ? frame - 10 : frame - 26) << "frame " << frame;
        }
    }
    const std::vector<std::string> ticks = LinesStarting(ReadLines(log), "tick ");
    auto answered = [&](int answer) {
        int count = 0;
        for (const std::string& tick : ticks) count += Field(tick, "answer") == answer;
        return count;
    };
    EXPECT_GE(answered(1), 2);   // at least one tick each time playing began
    EXPECT_EQ(answered(3), 10);  // paused
    EXPECT_EQ(answered(0), 4);   // stopped
}

TEST_F(HostProbe, TheSameFileGivesTheSameFramesEveryRun) {
    const std::string options = "--frames 16 --at 6:pause --at 10:play";
    ASSERT_EQ(Capture(options).exitCode, 0);
    std::vector<std::vector<uint8_t>> first;
    for (int frame = 1; frame <= 16; ++frame) first.push_back(ReadPng(FramePath(frames, frame)).pixels);
    frames = folder + "\\again";
    ASSERT_EQ(Capture(options).exitCode, 0);
    for (int frame = 1; frame <= 16; ++frame)
        EXPECT_EQ(ReadPng(FramePath(frames, frame)).pixels, first[frame - 1]) << frame;
}

TEST_F(HostProbe, ConfigRunsOnTheMainThreadWhileTheModuleRenders) {
    const HostRun run = Capture("--config --frames 60");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::vector<std::string> lines = ReadLines(log);
    const std::vector<std::string> config = LinesStarting(lines, "config thread");
    ASSERT_EQ(config.size(), 1u) << run.output;
    const std::string mainThread = FieldText(config[0], "thread");
    EXPECT_EQ(mainThread, FieldText(config[0], "parent_thread"));
    EXPECT_NE(mainThread, FieldText(LinesStarting(lines, "init ").at(0), "thread"));
    // The host closed the dialog that Config left open when the capture ended.
    const std::vector<std::string> closed = LinesStarting(lines, "config closed");
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_GT(Field(closed[0], "renders_while_open"), 0);
    EXPECT_TRUE(FileExists(FramePath(frames, 60)));
}

struct RoughCase {
    int module;
    int exitCode;
    const char* says;
    int framesKept;
    bool quitCalled;
};

TEST_F(HostProbe, SurvivesModulesThatFaultOrStopThemselves) {
    const RoughCase cases[] = {
        {2, 1, "vis_host: the module's Init faulted: exception 0x", 0, false},
        {3, 1, "vis_host: the module's Render faulted: exception 0x", 2, true},
        {4, 1, "vis_host: the module's Quit faulted: exception 0x", 5, true},
        {5, 4, "vis_host: captured 2 frames of the 5 asked for: the module's Render returned 1; the module is stopped",
         2, true},
    };
    for (const RoughCase& c : cases) {
        frames = folder + "\\rough" + std::to_string(c.module);
        DeleteFileA(log.c_str());
        const HostRun run = Capture("--module " + std::to_string(c.module) + " --frames 5");
        EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
        EXPECT_TRUE(Contains(run.output, c.says)) << run.output;
        EXPECT_EQ(Contains(run.output, " at 0x"), c.exitCode == 1) << run.output;
        // The frames captured before the module stopped stay.
        EXPECT_EQ(FileExists(FramePath(frames, c.framesKept)), c.framesKept > 0) << c.module;
        EXPECT_FALSE(FileExists(FramePath(frames, c.framesKept + 1))) << c.module;
        EXPECT_EQ(LinesStarting(ReadLines(log), "quit thread").size(), c.quitCalled ? 1u : 0u) << c.module;
    }
    // Config runs on the main thread under the same guard: the module stops, Quit still comes.
    DeleteFileA(log.c_str());
    frames = folder + "\\config";
    const HostRun run = Capture("--module 6 --config --frames 2000");
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_TRUE(Contains(run.output, "vis_host: the module's Config faulted: exception 0xC0000005 at 0x"))
        << run.output;
    EXPECT_FALSE(FileExists(FramePath(frames, 2000)));
    EXPECT_EQ(LinesStarting(ReadLines(log), "quit thread").size(), 1u);
}

// The bytes of a stream of PPM frames hold whole frames only.
bool WholeFrames(const std::string& path, int& count) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // "P6\nW H\n255\n": the header ends at its third line end.
    std::size_t header = 0;
    for (int ends = 0; ends < 3 && header != std::string::npos; ++ends)
        header = bytes.find('\n', header ? header + 1 : 0);
    int width = 0, height = 0;
    if (header == std::string::npos || std::sscanf(bytes.c_str(), "P6 %d %d", &width, &height) != 2) return false;
    const std::size_t frame = header + 1 + std::size_t(width) * height * 3;
    count = int(bytes.size() / frame);
    return bytes.size() % frame == 0;
}

struct StuckCase {
    int module;
    const char* options;
    int exitCode;
    const char* says;
    int framesKept;  // -1: some, as many as the capture got to
};

// A thread of the plug-in that faults and calls that never return end the
// run with a line, its exit code and the frames so far whole, in seconds.
TEST_F(HostProbe, EndsRunsWhoseThreadsFaultOrWhoseCallsNeverReturn) {
    const StuckCase cases[] = {
        {7, "--frames 2000", 1, "vis_host: the plug-in's thread ", -1},
        {8, "--frames 40 --call-limit 2", 3,
         "vis_host: the module's Render did not return within 2 s (--call-limit); the module is stopped, 9 frames kept",
         9},
        {9, "--frames 40", 3, "vis_host: the module's Init did not return within 10 s (--call-limit)", 0},
        {10, "--frames 5 --call-limit 2", 3,
         "vis_host: the module's Quit did not return within 2 s (--call-limit), after all 5 frames were captured; the "
         "run counts as failed",
         5},
    };
    for (const StuckCase& c : cases) {
        frames = folder + "\\stuck" + std::to_string(c.module);
        const std::string stream = frames + ".ppm";
        const ULONGLONG began = GetTickCount64();
        const HostRun run =
            Capture("--module " + std::to_string(c.module) + " " + c.options + " --stream \"" + stream + "\"");
        const double seconds = double(GetTickCount64() - began) / 1000;
        EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
        EXPECT_TRUE(Contains(run.output, c.says)) << run.output;
        EXPECT_LT(seconds, 15.0) << c.module;
        EXPECT_FALSE(Contains(run.output, "debugger")) << run.output;
        int streamed = -1;
        EXPECT_TRUE(WholeFrames(stream, streamed) || c.framesKept == 0) << c.module;
        const int kept = c.framesKept >= 0 ? c.framesKept : streamed;
        if (c.framesKept < 0) {
            EXPECT_GT(kept, 0) << run.output;
            EXPECT_TRUE(Contains(run.output, "faulted: exception 0xC0000005 at 0x")) << run.output;
            EXPECT_TRUE(Contains(run.output, " in probe_vis.dll+0x")) << run.output;
            EXPECT_TRUE(Contains(run.output, ", " + std::to_string(kept) + " frames kept")) << run.output;
        } else if (kept > 0) {
            EXPECT_EQ(streamed, kept) << c.module;
        }
        // Every frame file is whole: the last one kept reads as the probe's.
        if (kept > 0) {
            EXPECT_EQ(ReadPng(FramePath(frames, kept)).width, 32) << c.module;
        }
        EXPECT_FALSE(FileExists(FramePath(frames, kept + 1))) << c.module;
        std::printf("module %d: exit %d, %d frames, %.1f s: %s\n", c.module, run.exitCode, kept, seconds,
                    run.output.c_str());
    }
}

}  // namespace

namespace {

// Waits until the probe's log has a line that starts with the text and was
// written after the first `after` lines.
bool AwaitLine(const std::string& log, const std::string& start, std::size_t after, unsigned timeoutMs = 10000) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do {
        const std::vector<std::string> lines = ReadLines(log);
        for (std::size_t i = after; i < lines.size(); ++i)
            if (lines[i].rfind(start, 0) == 0) return true;
        Sleep(20);
    } while (GetTickCount64() < deadline);
    return false;
}

TEST_F(HostProbe, LiveKeysChangeTheAnswerAndClosingNeverDeadlocks) {
    const HostRun run = RunHost("probe_vis.dll \"" + clip + "\"", log, 60000, [&](unsigned long processId) {
        HWND player = static_cast<HWND>(FindPlayerWindow(processId, 10000));
        ASSERT_NE(player, nullptr);
        EXPECT_TRUE(AwaitLine(log, "render ", 0)) << "no render while playing";
        const std::pair<WPARAM, const char*> keys[] = {
            {'C', "tick answer=3"}, {'X', "render "}, {'V', "tick answer=0"}};
        for (const auto& [key, effect] : keys) {
            const std::size_t seen = ReadLines(log).size();
            PostMessageA(player, WM_KEYDOWN, key, 0);
            EXPECT_TRUE(AwaitLine(log, effect, seen)) << "key " << char(key) << " gave no " << effect;
        }
        PostMessageA(player, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::vector<std::string> lines = ReadLines(log);
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(Contains(lines.back(), "quit thread=")) << lines.back();
    EXPECT_TRUE(Contains(lines.back(), "answer=0")) << lines.back();
}

// Live, a Render that never returns leaves the player window answering: its
// title says so, and closing it ends vis_host.
TEST_F(HostProbe, LiveTheWindowSaysTheModuleDoesNotAnswerAndClosingEnds) {
    std::string title;
    const HostRun run =
        RunHost("--module 8 --call-limit 1 probe_vis.dll \"" + clip + "\"", log, 60000, [&](unsigned long processId) {
            HWND player = static_cast<HWND>(FindPlayerWindow(processId, 10000));
            ASSERT_NE(player, nullptr);
            const ULONGLONG deadline = GetTickCount64() + 15000;
            char text[256] = "";
            while (!Contains(text, "does not answer") && GetTickCount64() < deadline) {
                Sleep(50);
                SendMessageTimeoutA(player, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                                    1000, nullptr);
            }
            title = text;
            PostMessageA(player, WM_CLOSE, 0, 0);
        });
    EXPECT_EQ(title, "pattern - Winamp [the module's Render does not answer]");
    EXPECT_EQ(run.exitCode, 3) << run.output;
    EXPECT_TRUE(Contains(run.output, "vis_host: the module's Render did not return within 1 s")) << run.output;
}

}  // namespace
