// vis_host answering player_probe.dll as the player does: every query of the
// player's table, the embed frame, the service object, the spectrum, the
// plug-in's own fault handlers and a box no one can answer (see
// player_probe.cpp).
#include <algorithm>

#include "host/audio/audio_file.h"
#include "host/core/spectrum_data.h"
#include "host/core/waveform.h"
#include "plugin/player_protocol.h"
#include "tests/wine/hand_input.h"
#include "tests/wine/host_fixture.h"

namespace {

constexpr double ClipSeconds = 2.0;

double Chord(int frame, int channel) { return Sine(frame, channel ? 440 : 1250, 0.5) + Sine(frame, 5000, 0.2); }

std::string Answer(const std::vector<std::string>& log, int id, int argument) {
    const std::string start = "ask " + std::to_string(id) + " " + std::to_string(argument) + " = ";
    for (const std::string& line : log)
        if (line.rfind(start, 0) == 0) return line.substr(start.size());
    return "(not asked)";
}

std::string Line(const std::vector<std::string>& log, const std::string& start) {
    for (const std::string& line : log)
        if (line.rfind(start, 0) == 0) return line;
    return "(no line " + start + ")";
}

std::string Field(const std::string& line, const std::string& name) {
    const std::size_t at = line.find(" " + name + "=");
    if (at == std::string::npos) return "(no " + name + ")";
    const std::size_t from = at + name.size() + 2;
    return line.substr(from, line.find(' ', from) - from);
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH];
    return std::string(full, GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr));
}

// One capture of the probe's full module, shared by the cases that read its log.
class HostAsPlayer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = NewTempFolder("host-player");
        clip = WriteClip(folder, "chord.wav", ClipSeconds, Chord);
        const std::string log = folder + "\\probe.log";
        run = RunHost("--frames 3 --settings \"" + folder + "\\settings\" --capture \"" + folder +
                          "\\frames\" player_probe.dll \"" + clip + "\"",
                      log);
        lines = ReadLines(log);
    }
    static void TearDownTestSuite() { RemoveFolder(folder); }

    static std::string folder, clip;
    static HostRun run;
    static std::vector<std::string> lines;
};
std::string HostAsPlayer::folder, HostAsPlayer::clip;
HostRun HostAsPlayer::run;
std::vector<std::string> HostAsPlayer::lines;

TEST_F(HostAsPlayer, AnswersEveryQueryAsThePlayer) {
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::string settings = folder + "\\settings";
    const std::string bin = BinFolder().substr(0, BinFolder().size() - 1);
    const std::string skin = settings + "\\Skins\\vis_host";
    const struct {
        int id, argument;
        std::string answer;
    } table[] = {
        {0, 0, std::to_string(0x5092)},
        {104, 0, "1"},
        {105, 0, "0"},  // Init comes before the first frame
        {105, 1, "2"},
        {105, 2, "2000"},
        {124, 0, "1"},
        {125, 0, "0"},
        {201, 0, "vis_host"},
        {201, 1, skin},
        {211, 0, FullPath(clip)},
        {211, 1, "null"},
        {212, 0, "chord"},
        {212, 1, "null"},
        {213, 0, "chord"},
        {250, 0, "0"},
        {251, 0, "0"},
        {334, 0, settings + "\\winamp.ini"},
        {335, 0, settings},
        {336, 0, bin},
        {1334, 0, settings + "\\winamp.ini"},
        {1335, 0, settings},
        {1336, 0, bin},
        {365, 0, "main"},
        {501, 0, "0"},
        {612, 0, "set"},
        {628, 1, "0"},
        {631, 1, "0"},
        {2004, 0, "0"},
        {3015, 0, "non-negative"},
        {3025, 0, "object"},
        {3044, 0, "d3dx9_43.dll"},
        {9999, 0, "1"},  // any query the player does not know
    };
    for (const auto& row : table) EXPECT_EQ(Answer(lines, row.id, row.argument), row.answer) << row.id;
    EXPECT_EQ(GetFileAttributesA(skin.c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(Line(lines, "caption "), "caption chord - Winamp");
    // The service object reached through a virtual call from winampVisGetHeader.
    const std::string header = Line(lines, "header ");
    EXPECT_EQ(header, "header language=object other_guid=null started=1 string=ProbeString own_buffer=ProbeString");
}

TEST_F(HostAsPlayer, TheEmbedFrameHoldsThePluginWindowAndKeepsItsRecord) {
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(Line(lines, "embed frame="), "embed frame=me owner=main visible=0");
    // Made at the record's place, at least 275 x 116; the child at (11, 20),
    // 19 narrower and 34 lower than the frame, whenever it is shown or sized.
    const std::string shown = Line(lines, "embed shown ");
    EXPECT_EQ(Field(shown, "frame"), "100,100,375,216") << shown;
    EXPECT_EQ(Field(shown, "r"), "100,100,375,216") << shown;
    EXPECT_EQ(Field(shown, "child"), "11,20,267,102") << shown;
    EXPECT_EQ(Field(shown, "visible"), "1") << shown;
    const std::string resized = Line(lines, "embed resized ");
    EXPECT_EQ(Field(resized, "r"), "40,50,440,350") << resized;
    EXPECT_EQ(Field(resized, "child"), "11,20,392,286") << resized;
}

TEST_F(HostAsPlayer, SpectrumIsThePlayersOfTheWaveformBlock) {
    ASSERT_EQ(run.exitCode, 0) << run.output;
    // The first Render's block: the start of the clip plus the probe's latency of 0.
    AudioResult read = ReadAudioFile(clip);
    ASSERT_TRUE(read.Ok()) << read.error;
    winampVisModule record{};
    FillWaveform(read.audio, 0, record.waveformData);
    FillSpectrum(record.waveformData, 2, SpectrumTables(), record.spectrumData);
    uint32_t checksum = 2166136261u;
    for (const auto& channel : record.spectrumData)
        for (unsigned char byte : channel) checksum = (checksum ^ byte) * 16777619u;
    const std::string render = Line(lines, "render spectrum=");
    EXPECT_EQ(Field(render, "spectrum"), std::to_string(checksum)) << render;
    EXPECT_NE(checksum, 0u);
}

TEST_F(HostAsPlayer, ThePluginsOwnHandlersSeeItsFaultsFirst) {
#if defined(__i386__)
    // A fault and an exception that the probe handles itself leave the run untouched.
    EXPECT_EQ(Line(lines, "render own_handler_caught="), "render own_handler_caught=2");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Contains(run.output, "captured 3 frames")) << run.output;
#else
    GTEST_SKIP() << "frame-based handlers are 32-bit only";
#endif
}

TEST(HostBoxes, ABoxFromInitEndsACaptureWithItsWords) {
    const std::string folder = NewTempFolder("host-box");
    const std::string log = folder + "\\probe.log";
    const HostRun run =
        RunHost("--module 1 --frames 3 --settings \"" + folder + "\" --capture \"" + folder + "\\f\" player_probe.dll",
                log, 30000);
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_TRUE(Contains(run.output,
                         "vis_host: the module's Init showed a box \"Uh Oh\": "
                         "\"This probe needs a newer player\""))
        << run.output;
    EXPECT_EQ(ReadLines(log), std::vector<std::string>({"header language=object other_guid=null started=1 "
                                                        "string=ProbeString own_buffer=ProbeString",
                                                        "box closed"}));
    RemoveFolder(folder);
}

BOOL CALLBACK TakeFrame(HWND window, LPARAM found) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "vis_host embed" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

TEST(HostEmbedFrame, ItsCloseBoxAsksThePluginWindowToClose) {
    const std::string folder = NewTempFolder("host-close");
    const std::string clip = WriteClip(folder, "long.wav", 30.0, Chord);
    const std::string log = folder + "\\probe.log";
    const HostRun run = RunHost("--settings \"" + folder + "\" player_probe.dll \"" + clip + "\"", log, 60000,
                                [&](unsigned long processId) {
                                    // Init has placed the frame for good once it asked its last query.
                                    for (int wait = 0; wait < 500 && Answer(ReadLines(log), 3044, 0)[0] == '('; ++wait)
                                        Sleep(20);
                                    HWND frame = nullptr;
                                    for (int wait = 0; wait < 500 && !frame; ++wait) {
                                        EnumWindows(TakeFrame, reinterpret_cast<LPARAM>(&frame));
                                        DWORD owner = 0;
                                        if (frame) GetWindowThreadProcessId(frame, &owner);
                                        if (owner != processId) frame = nullptr, Sleep(20);
                                    }
                                    ASSERT_NE(frame, nullptr);
                                    RECT r;
                                    GetWindowRect(frame, &r);
                                    bool landed = false;  // on the close box, top right
                                    for (int tries = 0; tries < 10 && !landed; ++tries)
                                        if (!(landed = TryMoveMouseTo(r.right - 9, r.top + 8))) Sleep(50);
                                    ASSERT_TRUE(landed);
                                    PressLeft();
                                    ReleaseLeft();
                                });
    // The plug-in closed its window and ended itself; the run ends well.
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Contains(run.output, "the module's Render returned 1")) << run.output;
    const std::vector<std::string> lines = ReadLines(log);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "child asked to close"), lines.end());
    RemoveFolder(folder);
}

}  // namespace

namespace {

void WriteText(const std::string& path, const std::string& text) {
    ASSERT_TRUE(WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end())));
}

// The player's plug-ins find their files in Plugins beside its ini file: the
// files beside the DLL come there, and what a plug-in saved there stays until
// its file beside the DLL changes.
TEST(HostSettings, PluginsHoldTheFilesBesideThePlugin) {
    const std::string folder = NewTempFolder("host-plugins");
    const std::string plugin = folder + "\\plugin", copy = folder + "\\settings\\Plugins\\probe.dat";
    CreateDirectoryA(plugin.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((BinFolder() + "player_probe.dll").c_str(), (plugin + "\\player_probe.dll").c_str(), FALSE));
    WriteText(plugin + "\\probe.dat", "shipped");
    // A user's files beside the plug-in stay where they are; its data folder comes.
    WriteText(plugin + "\\song.wav", "RIFF");
    for (const char* sub : {"\\player_probe_data", "\\downloads"}) CreateDirectoryA((plugin + sub).c_str(), nullptr);
    WriteText(plugin + "\\player_probe_data\\preset.txt", "preset");
    WriteText(plugin + "\\player_probe_data\\picture.png", "png");
    WriteText(plugin + "\\downloads\\other.ini", "x");
    const std::string list = "--list --settings \"" + folder + "\\settings\" \"" + plugin + "\\player_probe.dll\"";
    const struct {
        const char* step;
        std::function<void()> before;
        const char* seen;
    } steps[] = {
        {"first run", [] {}, "shipped"},
        {"the plug-in saved its file", [&] { WriteText(copy, "saved"); }, "saved"},
        {"the file beside the DLL changed later",
         [&] {
             WriteText(plugin + "\\probe.dat", "edited");
             HANDLE file = CreateFileA((plugin + "\\probe.dat").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
             FILETIME later;
             GetSystemTimeAsFileTime(&later);
             later.dwHighDateTime += 1;  // about seven minutes on
             SetFileTime(file, nullptr, nullptr, &later);
             CloseHandle(file);
         },
         "edited"},
    };
    for (const auto& step : steps) {
        step.before();
        const HostRun run = RunHost(list);
        EXPECT_EQ(run.exitCode, 0) << step.step << "\n" << run.output;
        EXPECT_EQ(ReadLines(copy), std::vector<std::string>{step.seen}) << step.step;
    }
    EXPECT_FALSE(FileExists(folder + "\\settings\\Plugins\\player_probe.dll"));
    const std::string plugins = folder + "\\settings\\Plugins\\";
    EXPECT_TRUE(FileExists(plugins + "player_probe_data\\preset.txt"));
    EXPECT_FALSE(FileExists(plugins + "player_probe_data\\picture.png"));
    EXPECT_FALSE(FileExists(plugins + "song.wav"));
    EXPECT_FALSE(FileExists(plugins + "downloads"));
    RemoveFolder(folder);
}

}  // namespace
