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

struct HostOptions {
    std::string pluginPath;
    std::string audioPath;  // empty: nothing to play
    bool list = false;
    bool help = false;
    int module = 0;
    bool doubleSize = false;
    bool specialHost = false;
    bool config = false;
    std::string settingsDir;  // empty: the user's own folder for vis_host
    std::string captureDir;   // empty: no capture
    int frames = 0;          // 0: capture until playback ends
    std::vector<ScheduledAction> schedule;
};

// Fills options from the arguments after the program name; on bad input
// returns false with the problem in error.
bool ParseOptions(const std::vector<std::string>& args, HostOptions& options, std::string& error);

extern const char* const HostUsage;
