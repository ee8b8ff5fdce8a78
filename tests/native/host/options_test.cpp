// The host's command line.
#include <gtest/gtest.h>

#include "host/core/options.h"

namespace {

bool Parse(std::vector<std::string> args, HostOptions& options, std::string& error) {
    return ParseOptions(args, options, error);
}

TEST(Options, DefaultsWithJustThePlugin) {
    HostOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"vis_kt.dll"}, options, error)) << error;
    EXPECT_EQ(options.pluginPath, "vis_kt.dll");
    EXPECT_EQ(options.audioPath, "");
    EXPECT_EQ(options.module, 0);
    EXPECT_FALSE(options.list || options.doubleSize || options.specialHost || options.config);
    EXPECT_EQ(options.captureDir, "");
}

TEST(Options, EveryOption) {
    HostOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--module", "1",        "--double",     "p.dll",      "--special-host", "--config", "--capture",
                       "out",      "song.ogg", "--frames",     "40",         "--at",           "30:stop",  "--at",
                       "10:pause", "--at",     "20:play",      "--settings", "conf",           "--stream", "v.ppm",
                       "--fps",    "30",       "--call-limit", "3",          "--size",         "1280x720"},
                      options, error))
        << error;
    EXPECT_EQ(options.pluginPath, "p.dll");
    EXPECT_EQ(options.audioPath, "song.ogg");
    EXPECT_EQ(options.module, 1);
    EXPECT_TRUE(options.doubleSize && options.specialHost && options.config);
    EXPECT_EQ(options.captureDir, "out");
    EXPECT_EQ(options.settingsDir, "conf");
    EXPECT_EQ(options.streamPath, "v.ppm");
    EXPECT_EQ(options.framesPerSecond, 30);
    EXPECT_EQ(options.frames, 40);
    EXPECT_EQ(options.callLimitSeconds, 3);
    EXPECT_EQ(options.width, 1280);
    EXPECT_EQ(options.height, 720);
    ASSERT_EQ(options.schedule.size(), 3u);  // sorted by frame
    EXPECT_EQ(options.schedule[0].afterFrames, 10);
    EXPECT_EQ(options.schedule[0].kind, ScheduledAction::Pause);
    EXPECT_EQ(options.schedule[1].kind, ScheduledAction::Play);
    EXPECT_EQ(options.schedule[2].kind, ScheduledAction::Stop);
    ASSERT_TRUE(Parse({"--list", "p.dll"}, options, error));
    EXPECT_TRUE(options.list);
}

TEST(Options, BadInputIsNamed) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "no plug-in DLL given"},
        {{"a.dll", "b.wav", "c.wav"}, "too many files: c.wav"},
        {{"--module", "x", "a.dll"}, "--module needs a module number, not 'x'"},
        {{"--module", "-1", "a.dll"}, "--module needs a module number, not '-1'"},
        {{"a.dll", "--module"}, "--module needs a value"},
        {{"--frames", "0", "--capture", "d", "a.dll"}, "--frames needs a positive number, not '0'"},
        {{"--frames", "99999999999", "--capture", "d", "a.dll"}, "--frames needs a positive number"},
        {{"--frames", "5", "a.dll"}, "--frames needs --capture or --stream"},
        {{"--at", "5:pause", "a.dll"}, "--at needs --capture or --stream"},
        {{"--fps", "0", "--stream", "v", "a.dll"}, "--fps needs a number of frames a second from 1 to 1000, not '0'"},
        {{"--fps", "1001", "a.dll"}, "--fps needs a number"},
        {{"--stream", "", "a.dll"}, "--stream needs a file"},
        {{"--capture", "d", "--at", "5:rewind", "a.dll"}, "--at needs FRAMES:ACTION"},
        {{"--capture", "d", "--at", "pause", "a.dll"}, "--at needs FRAMES:ACTION"},
        {{"--capture", "", "a.dll"}, "--capture needs a folder"},
        {{"--settings", "", "a.dll"}, "--settings needs a folder"},
        {{"--call-limit", "0", "a.dll"}, "--call-limit needs a number of seconds from 1 to 86400, not '0'"},
        {{"--size", "640x480", "a.dll"}, "--size needs --capture or --stream"},
        {{"--size", "640", "--capture", "d", "a.dll"}, "--size needs WIDTHxHEIGHT, each from 16 to 8192 pixels"},
        {{"--size", "15x480", "--capture", "d", "a.dll"}, "--size needs WIDTHxHEIGHT"},
        {{"--size", "640x8193", "--capture", "d", "a.dll"}, "--size needs WIDTHxHEIGHT"},
        {{"--size", "640x-4", "--capture", "d", "a.dll"}, "--size needs WIDTHxHEIGHT"},
        {{"--fast", "a.dll"}, "unknown option --fast"},
    };
    for (const auto& [args, wanted] : cases) {
        HostOptions options;
        std::string error;
        EXPECT_FALSE(Parse(args, options, error)) << wanted;
        EXPECT_NE(error.find(wanted), std::string::npos) << "got: " << error;
    }
}

}  // namespace
