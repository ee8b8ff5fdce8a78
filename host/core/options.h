// The host's command line.
#pragma once

#include <string>
#include <vector>

#include "host/core/transport.h"

// A transport action that capture mode applies after a given number of frames.
struct ScheduledAction {
    int afterFrames = 0;
    enum Kind { Play, Pause, Stop } kind = Play;
};

// How long a call into the plug-in may take before, in capture mode and with
// --list, the run ends as one that did not return.
constexpr int DefaultCallLimitSeconds = 10;

// vis_host's exit codes.
enum HostExit {
    ExitAllFrames = 0,     // every frame asked for (or the run ended well)
    ExitPluginFailed = 1,  // the plug-in failed, faulted or showed a box
    ExitBadOptions = 2,
    ExitCallHung = 3,     // a call into the plug-in did not return in time
    ExitFewerFrames = 4,  // the module stopped itself before the last frame
};

struct HostOptions {
    std::string pluginPath;
    std::string audioPath;  // empty: nothing to play
    bool list = false;
    bool help = false;
    int module = 0;
    bool doubleSize = false;
    bool specialHost = false;
    bool config = false;
    std::string settingsDir;    // empty: the user's own folder for vis_host
    std::string captureDir;     // empty: no PNG frames
    std::string streamPath;     // empty: no stream of PPM frames
    int framesPerSecond = 0;    // capture pace; 0: the module's delayMs
    int frames = 0;             // 0: capture until playback ends
    int width = 0, height = 0;  // --size; 0: the plug-in's own
    int callLimitSeconds = DefaultCallLimitSeconds;
    std::vector<ScheduledAction> schedule;

    // Frames are captured (to PNG files, a stream or both) rather than shown live.
    bool Capturing() const { return !captureDir.empty() || !streamPath.empty(); }
};

// Fills options from the arguments after the program name; on bad input
// returns false with the problem in error.
bool ParseOptions(const std::vector<std::string>& args, HostOptions& options, std::string& error);

extern const char* const HostUsage;
