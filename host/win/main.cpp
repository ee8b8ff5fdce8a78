// vis_host: a stand-in for the player towards a visualization plug-in.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "host/audio/audio_file.h"
#include "host/core/options.h"
#include "host/core/playback_clock.h"
#include "host/core/png_frame.h"
#include "host/win/host_session.h"
#include "host/win/player_window.h"
#include "host/win/plugin_loader.h"
#include "host/win/vis_thread.h"
#include "host/win/wave_out_clock.h"

namespace {

int Fail(const std::string& message, int code = 1) {
    std::fprintf(stderr, "vis_host: %s\n", message.c_str());
    return code;
}

int ListModules(const std::string& path, winampVisHeader* header) {
    std::printf("%s: %s\n", path.c_str(), header->description ? header->description : "");
    const std::vector<std::string> names = ModuleNames(header);
    for (std::size_t i = 0; i < names.size(); ++i) std::printf("  %zu  %s\n", i, names[i].c_str());
    if (names.empty()) return Fail(path + ": the plug-in has no modules");
    return 0;
}

// Waits for the thread while serving this thread's messages, so that a
// message the plug-in sends to the player window cannot deadlock.
void WaitServingMessages(HANDLE thread) {
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
}

int RunModule(const HostOptions& options, LoadedPlugin& plugin) {
    PcmAudio audio;
    audio.rate = 44100;
    audio.channels = 2;
    if (!options.audioPath.empty()) {
        AudioResult read = ReadAudioFile(options.audioPath);
        if (!read.Ok()) return Fail(read.error);
        audio = std::move(read.audio);
    }
    std::string error;
    if (!options.captureDir.empty() && !MakeFolder(options.captureDir, error)) return Fail(error);

    winampVisModule* module = plugin.header->getModule(options.module);
    std::unique_ptr<FrameClock> frameClock;
    std::unique_ptr<PlaybackClock> clock;
    if (!options.captureDir.empty()) {
        frameClock = std::make_unique<FrameClock>(audio.rate, module->delayMs);
    } else if (!(clock = WaveOutClock::Open(audio))) {
        clock = std::make_unique<SilentClock>(audio.rate);
    }
    Transport transport(audio.Frames(), audio.rate, frameClock ? *frameClock : *clock);

    HostSession session;
    session.options = &options;
    session.header = plugin.header;
    session.pluginInstance = plugin.module;
    session.audio = &audio;
    session.transport = &transport;
    session.frameClock = frameClock.get();
    const std::string title = std::string("vis_host - ") + (module->description ? module->description : "module");
    session.playerWindow = CreatePlayerWindow(session, title.c_str());
    if (!session.playerWindow) return Fail("cannot create the player window");
    // As the player does, the module is started from a header asked for with its main window.
    session.header = plugin.getHeader(session.playerWindow);
    if (!session.header || !session.header->getModule) {
        DestroyWindow(session.playerWindow);
        return Fail(options.pluginPath + ": winampVisGetHeader gave no header with the player window");
    }
    transport.Play();

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
    if (!session.error.empty()) return Fail(session.error, session.exitCode ? session.exitCode : 1);
    if (!session.notice.empty()) std::fprintf(stderr, "vis_host: %s\n", session.notice.c_str());
    if (frameClock) {
        std::printf("vis_host: captured %d frames of %d ms to %s\n", session.capturedFrames, session.delayMs,
                    options.captureDir.c_str());
    }
    return session.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    // Failures are reported on the console, not in dialogs.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HostOptions options;
    std::string error;
    if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        return Fail(error + " (vis_host --help tells the options)", 2);
    }
    if (options.help) {
        std::fputs(HostUsage, stdout);
        return 0;
    }
    if (!options.captureDir.empty() && options.audioPath.empty() && !options.frames) {
        return Fail("--capture without an audio file needs --frames", 2);
    }
    LoadedPlugin plugin;
    if (!LoadPlugin(options.pluginPath, plugin, error)) return Fail(error);
    int result;
    if (options.list) {
        result = ListModules(options.pluginPath, plugin.header);
    } else if (!plugin.header->getModule(options.module)) {
        const std::size_t count = ModuleNames(plugin.header).size();
        result =
            Fail(options.pluginPath + ": has no module " + std::to_string(options.module) + "; it has " +
                 (count ? std::to_string(count) + " (0.." + std::to_string(count - 1) + ")" : std::string("none")));
    } else {
        result = RunModule(options, plugin);
    }
    std::fflush(stdout);
    FreeLibrary(plugin.module);
    return result;
}
