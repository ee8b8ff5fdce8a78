// vis_host: a stand-in for the player towards a visualization plug-in.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "host/audio/audio_file.h"
#include "host/core/options.h"
#include "host/core/playback_clock.h"
#include "host/core/png_frame.h"
#include "host/core/ppm_stream.h"
#include "host/win/abrupt_end.h"
#include "host/win/call_watch.h"
#include "host/win/host_session.h"
#include "host/win/player_window.h"
#include "host/win/plugin_loader.h"
#include "host/win/stray_fault.h"
#include "host/win/vis_thread.h"
#include "host/win/wave_out_clock.h"

namespace {

int Fail(const std::string& message, int code = 1) {
    std::fprintf(stderr, "vis_host: %s\n", message.c_str());
    return code;
}

// Waits for the thread while serving this thread's messages, so that a
// message the plug-in sends to the player window cannot deadlock.
void WaitServingMessages(HANDLE thread) {
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
}

// Starts the player window, then the visualization thread, which asks the
// plug-in for its header and runs the module (or lists them), and serves the
// window until the thread ends.
int Run(const HostOptions& options, LoadedPlugin& plugin) {
    PcmAudio audio;
    audio.rate = 44100;
    audio.channels = 2;
    if (!options.audioPath.empty() && !options.list) {
        AudioResult read = ReadAudioFile(options.audioPath);
        if (!read.Ok()) return Fail(read.error);
        audio = std::move(read.audio);
    }
    std::string error;
    if (!options.captureDir.empty() && !MakeFolder(options.captureDir, error)) return Fail(error);
    PpmStream stream;
    if (!options.streamPath.empty() && !stream.Open(options.streamPath, error)) return Fail(error);
    SetStreamForAbruptEnd(&stream);

    std::unique_ptr<FrameClock> frameClock;
    std::unique_ptr<PlaybackClock> clock;
    if (options.Capturing() || options.list) {
        frameClock = std::make_unique<FrameClock>(audio.rate);
    } else if (!(clock = WaveOutClock::Open(audio))) {
        clock = std::make_unique<SilentClock>(audio.rate);
    }
    Transport transport(audio.Frames(), audio.rate, frameClock ? *frameClock : *clock);

    HostSession session;
    session.options = &options;
    session.getHeader = plugin.getHeader;
    session.pluginInstance = plugin.module;
    session.audio = &audio;
    session.transport = &transport;
    if (options.Capturing()) session.frameClock = frameClock.get();
    if (!options.streamPath.empty()) session.stream = &stream;
    session.services.transport = &transport;
    const std::string settings = options.settingsDir.empty() ? DefaultSettingsFolder() : options.settingsDir;
    if (!PreparePlayerTexts(session.services.texts, settings, options.pluginPath, options.audioPath, error)) {
        return Fail(error);
    }
    session.playerWindow = CreatePlayerWindow(session, !options.list);
    if (!session.playerWindow) return Fail("cannot create the player window");
    session.services.mainWindow = session.playerWindow;
    if (!options.list) transport.Play();

    CallWatch watch(session);
    HANDLE thread = CreateThread(nullptr, 0, VisThreadMain, &session, 0, &session.visThreadId);
    if (!thread) {
        DestroyWindow(session.playerWindow);
        return Fail("cannot start the visualization thread");
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    WaitServingMessages(thread);
    CloseHandle(thread);
    transport.Stop();
    if (!session.error.empty()) {
        const std::string kept =
            session.frameClock ? "; " + std::to_string(session.capturedFrames) + " frames kept" : std::string();
        return Fail(session.error + kept, session.exitCode ? session.exitCode : 1);
    }
    if (!session.configError.empty()) return Fail(session.configError);
    // A capture with fewer frames than asked for (the module stopped itself,
    // or the run was stopped) is no success.
    const bool shortRun = options.frames && session.capturedFrames < options.frames;
    if (session.frameClock && (!session.notice.empty() || shortRun)) {
        const std::string of = options.frames ? " of the " + std::to_string(options.frames) + " asked for" : "";
        const std::string why = session.notice.empty() ? "the run was stopped before the last" : session.notice;
        return Fail("captured " + std::to_string(session.capturedFrames) + " frames" + of + ": " + why,
                    ExitFewerFrames);
    }
    if (!session.notice.empty()) std::fprintf(stderr, "vis_host: %s\n", session.notice.c_str());
    if (session.frameClock) {
        const std::string to = options.captureDir.empty()   ? options.streamPath
                               : options.streamPath.empty() ? options.captureDir
                                                            : options.captureDir + " and " + options.streamPath;
        if (options.width && (session.frameWidth != options.width || session.frameHeight != options.height)) {
            std::printf(
                "vis_host: --size %dx%d does not apply to this module: its display keeps its own size, %d x %d\n",
                options.width, options.height, session.frameWidth, session.frameHeight);
        }
        std::printf("vis_host: captured %d frames of %g ms to %s; frames follow the song's clock\n",
                    session.capturedFrames, session.frameMs, to.c_str());
    }
    return session.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    // Failures are reported on the console, not in dialogs; a fault that
    // nothing handled on any thread ends the run with a line.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    PrepareAbruptEnd();
    ReportStrayFaults(GetCurrentThreadId());
    HostOptions options;
    std::string error;
    if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        return Fail(error + " (vis_host --help tells the options)", ExitBadOptions);
    }
    if (options.help) {
        std::fputs(HostUsage, stdout);
        return 0;
    }
    if (options.Capturing() && options.audioPath.empty() && !options.frames) {
        return Fail("capturing without an audio file needs --frames", ExitBadOptions);
    }
    LoadedPlugin plugin;
    if (!LoadPlugin(options.pluginPath, plugin, error)) return Fail(error);
    const int result = Run(options, plugin);
    std::fflush(stdout);
    FreeLibrary(plugin.module);
    return result;
}
