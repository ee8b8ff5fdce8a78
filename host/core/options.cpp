#include "host/core/options.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

const char* const HostUsage =
    "usage: vis_host [options] PLUGIN.dll [AUDIO_FILE]\n"
    "Runs a visualization module of PLUGIN.dll the way the player does, playing\n"
    "AUDIO_FILE (PCM WAV or Ogg Vorbis).\n"
    "  --list            print the plug-in's modules and exit\n"
    "  --module N        run module N (default 0)\n"
    "  --double          start with the player window at double size (Ctrl+D)\n"
    "  --special-host    store the host magic in the module's userData\n"
    "  --config          open the module's configuration once it runs (Ctrl+K)\n"
    "  --settings DIR    keep the plug-in's settings (its ini file) in DIR\n"
    "                    (default: vis_host under the user's application data)\n"
    "  --capture DIR     write a frame of the plug-in's display to DIR as PNG\n"
    "                    for every frame of the song; the clock runs from the\n"
    "                    frames, sound stays off, and the plug-in's clocks,\n"
    "                    sleeps and timers follow the song's frames\n"
    "  --stream FILE     the same frames as one stream of PPM images to FILE\n"
    "                    (a pipe to a video encoder)\n"
    "  --fps N           capture N frames a second of the song (default: the\n"
    "                    module's delayMs, or 60 when that is below 10 or above 1000)\n"
    "  --size WxH        when capturing: the plug-in's display (its window in the\n"
    "                    embed frame, its Direct3D back buffer) at W x H pixels\n"
    "  --frames N        when capturing: stop after N frames (default: at the end)\n"
    "  --at N:ACTION     when capturing: after N frames play, pause or stop\n"
    "  --call-limit S    when capturing or listing: end the run when a call into\n"
    "                    the plug-in has not returned after S seconds (default 10)\n"
    "  --help            print this text\n"
    "Keys in the player window: X play, C pause, V stop, Left/Right seek 5 s,\n"
    "Ctrl+D double size, Ctrl+K configure the module; right-click for a menu.\n"
    "Exit codes: 0 every frame (or the run ended well), 1 the plug-in failed,\n"
    "faulted or showed a box no one can answer, 2 bad options, 3 a call into the\n"
    "plug-in did not return within the call limit, 4 the module stopped itself\n"
    "before the last frame.\n";

namespace {

bool ParseCount(const std::string& text, int minimum, int& value) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), nullptr, 10);
    if (errno == ERANGE || parsed > 1000000000L || parsed < minimum) return false;
    value = int(parsed);
    return true;
}

// "1280x720": each side from 16 to 8192 pixels.
bool ParseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find('x');
    return x != std::string::npos && ParseCount(text.substr(0, x), 16, width) &&
           ParseCount(text.substr(x + 1), 16, height) && width <= 8192 && height <= 8192;
}

bool ParseAction(const std::string& text, ScheduledAction& action) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || !ParseCount(text.substr(0, colon), 0, action.afterFrames)) return false;
    const std::string name = text.substr(colon + 1);
    if (name == "play") action.kind = ScheduledAction::Play;
    else if (name == "pause") action.kind = ScheduledAction::Pause;
    else if (name == "stop") action.kind = ScheduledAction::Stop;
    else return false;
    return true;
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, HostOptions& options, std::string& error) {
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        // A folder or file that must not be empty.
        auto path = [&](std::string& out, const char* what) {
            if (!value(out)) return false;
            if (out.empty()) error = arg + " needs " + what;
            return !out.empty();
        };
        std::string text;
        if (arg == "--list") options.list = true;
        else if (arg == "--help" || arg == "-h") options.help = true;
        else if (arg == "--double") options.doubleSize = true;
        else if (arg == "--special-host") options.specialHost = true;
        else if (arg == "--config") options.config = true;
        else if (arg == "--module") {
            if (!value(text)) return false;
            if (!ParseCount(text, 0, options.module)) {
                error = "--module needs a module number, not '" + text + "'";
                return false;
            }
        } else if (arg == "--frames") {
            if (!value(text)) return false;
            if (!ParseCount(text, 1, options.frames)) {
                error = "--frames needs a positive number, not '" + text + "'";
                return false;
            }
        } else if (arg == "--call-limit") {
            if (!value(text)) return false;
            if (!ParseCount(text, 1, options.callLimitSeconds) || options.callLimitSeconds > 86400) {
                error = "--call-limit needs a number of seconds from 1 to 86400, not '" + text + "'";
                return false;
            }
        } else if (arg == "--settings") {
            if (!path(options.settingsDir, "a folder")) return false;
        } else if (arg == "--fps") {
            if (!value(text)) return false;
            if (!ParseCount(text, 1, options.framesPerSecond) || options.framesPerSecond > 1000) {
                error = "--fps needs a number of frames a second from 1 to 1000, not '" + text + "'";
                return false;
            }
        } else if (arg == "--size") {
            if (!value(text)) return false;
            if (!ParseSize(text, options.width, options.height)) {
                error = "--size needs WIDTHxHEIGHT, each from 16 to 8192 pixels, not '" + text + "'";
                return false;
            }
        } else if (arg == "--stream") {
            if (!path(options.streamPath, "a file")) return false;
        } else if (arg == "--capture") {
            if (!path(options.captureDir, "a folder")) return false;
        } else if (arg == "--at") {
            ScheduledAction action;
            if (!value(text)) return false;
            if (!ParseAction(text, action)) {
                error = "--at needs FRAMES:ACTION with ACTION play, pause or stop, not '" + text + "'";
                return false;
            }
            options.schedule.push_back(action);
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else {
            files.push_back(arg);
        }
    }
    if (options.help) return true;
    if (files.empty()) {
        error = "no plug-in DLL given";
        return false;
    }
    if (files.size() > 2) {
        error = "too many files: " + files[2];
        return false;
    }
    options.pluginPath = files[0];
    if (files.size() == 2) options.audioPath = files[1];
    if (!options.Capturing() && options.width) {
        error = "--size needs --capture or --stream";
        return false;
    }
    if (!options.Capturing() && (options.frames || !options.schedule.empty())) {
        error = std::string(options.frames ? "--frames" : "--at") + " needs --capture or --stream";
        return false;
    }
    std::stable_sort(options.schedule.begin(), options.schedule.end(),
                     [](const ScheduledAction& a, const ScheduledAction& b) { return a.afterFrames < b.afterFrames; });
    return true;
}
