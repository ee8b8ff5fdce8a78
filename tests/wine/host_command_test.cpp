// vis_host's command line: listing modules and refusing what it cannot run.
#include "tests/wine/host_fixture.h"

namespace {

TEST(HostCommandLine, ListsOurModules) {
    const HostRun run = RunHost("--list vis_kt.dll");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Contains(run.output, "KT Deduzodo Library v1.1f")) << run.output;
    EXPECT_TRUE(Contains(run.output, "0  Deduzodo")) << run.output;
    EXPECT_TRUE(Contains(run.output, "1  VU-Meter")) << run.output;
    EXPECT_FALSE(Contains(run.output, "  2  ")) << run.output;
}

TEST(HostCommandLine, ListsWithThePlayerWindowUp) {
    const std::string folder = NewTempFolder("host-list");
    const HostRun run = RunHost("--list probe_vis.dll", folder + "\\probe.log");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Contains(run.output, "5  Probe stopping Render")) << run.output;
    const std::vector<std::string> lines = ReadLines(folder + "\\probe.log");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("header player=vis_host player ", 0), 0u) << lines[0];
    RemoveFolder(folder);
}

TEST(HostCommandLine, RefusesWhatIsNoPlugin) {
    const std::string folder = NewTempFolder("host-bad");
    const std::string text = folder + "\\text.dll";
    ASSERT_TRUE(WriteFileBytes(text, {'h', 'e', 'l', 'l', 'o'}));
    const std::pair<std::string, std::string> cases[] = {
        {"missing.dll", "missing.dll: no such file"},
        {"\"" + text + "\"", "text.dll: not a DLL that this"},
        {"no_export.dll", "no_export.dll: has no winampVisGetHeader export"},
        {"--module 2 vis_kt.dll", "vis_kt.dll: has no module 2; it has 2 (0..1)"},
        {"--module 11 probe_vis.dll", "probe_vis.dll: has no module 11; it has 11 (0..10)"},
        {"--bogus vis_kt.dll", "unknown option --bogus"},
    };
    for (const auto& [arguments, message] : cases) {
        const HostRun run = RunHost(arguments);
        EXPECT_GT(run.exitCode, 0) << arguments;
        EXPECT_TRUE(Contains(run.output, message)) << arguments << "\n" << run.output;
        EXPECT_EQ(run.output.rfind("vis_host: ", 0), 0u) << run.output;
    }
    RemoveFolder(folder);
}

TEST(HostCommandLine, RefusesADamagedAudioFileByName) {
    const std::string folder = NewTempFolder("host-audio");
    std::vector<uint8_t> wav = BuildWav(WavShape{}, std::vector<uint8_t>(400));
    wav.resize(wav.size() - 100);
    ASSERT_TRUE(WriteFileBytes(folder + "\\cut.wav", wav));
    const HostRun run = RunHost("probe_vis.dll \"" + folder + "\\cut.wav\"");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.output, "cut.wav: truncated: the RIFF header claims")) << run.output;
    RemoveFolder(folder);
}

TEST(HostCommandLine, InitFailureIsReported) {
    const std::string folder = NewTempFolder("host-init");
    const HostRun run = RunHost("--module 1 --capture \"" + folder + "\" --frames 3 probe_vis.dll");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.output, "the module's Init failed (result 1)")) << run.output;
    RemoveFolder(folder);
}

}  // namespace
