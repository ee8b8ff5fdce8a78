#include "host/win/vis_thread.h"

#include <cstdio>

#include "host/core/frame_pace.h"
#include "host/core/playback_clock.h"
#include "host/win/capture.h"
#include "host/win/embed_frame.h"
#include "host/win/module_calls.h"
#include "host/win/song_time.h"
#include "host/win/stray_fault.h"

namespace {

// The player's loop: render while playing, every delayMs, and once more with
// silence when playback stops; never while paused.
void RunLive(HostSession& session, winampVisModule* module) {
    auto never = [] { return false; };
    PlayState previous = PlayState::Stopped;
    for (;;) {
        if (!Pump(session)) return;
        const PlayState state = session.transport->State();
        if (state == PlayState::Playing) {
            FillRecord(session, module);
            if (!RenderOnce(session, module)) return;
        } else if (state == PlayState::Stopped && previous == PlayState::Playing) {
            if (!RenderSilence(session, module)) return;
        }
        previous = state;
        if (!PumpFor(session, DWORD(module->delayMs > 0 ? module->delayMs : 1), never)) return;
    }
}

void ListModules(HostSession& session, winampVisHeader* header) {
    const std::string& path = session.options->pluginPath;
    std::printf("%s: %s\n", path.c_str(), header->description ? header->description : "");
    std::vector<std::string> names;
    std::vector<int> delays;
    if (!CallModule(session, "getModule", [&] {
            names = ModuleNames(header);
            for (std::size_t i = 0; i < names.size(); ++i) delays.push_back(header->getModule(int(i))->delayMs);
        }))
        return;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const FramePace pace = CapturePace(delays[i], session.options->framesPerSecond);
        std::printf("  %zu  %s  (captured at %s frames per second)\n", i, names[i].c_str(), pace.RateText().c_str());
    }
    std::fflush(stdout);
    if (names.empty()) ReportProblem(session, path + ": the plug-in has no modules");
}

winampVisModule* ChooseModule(HostSession& session, winampVisHeader* header) {
    const int index = session.options->module;
    winampVisModule* module = nullptr;
    std::size_t count = 0;
    if (!CallModule(session, "getModule", [&] {
            module = header->getModule(index);
            if (!module) count = ModuleNames(header).size();
        }))
        return nullptr;
    if (module) return module;
    ReportProblem(
        session, session.options->pluginPath + ": has no module " + std::to_string(index) + "; it has " +
                     (count ? std::to_string(count) + " (0.." + std::to_string(count - 1) + ")" : std::string("none")));
    return nullptr;
}

// The player's calling order: the header, asked with the main window; the
// record filled; Init; renders; Quit.
void RunModule(HostSession& session) {
    winampVisHeader* header = nullptr;
    if (!CallModule(session, "winampVisGetHeader", [&] { header = session.getHeader(session.playerWindow); })) return;
    if (!header || !header->getModule) {
        ReportProblem(session,
                      session.options->pluginPath + ": winampVisGetHeader gave no header with a module getter");
        return;
    }
    if (session.options->list) return ListModules(session, header);
    winampVisModule* module = ChooseModule(session, header);
    if (!module) return;
    SetEmbedOwner(session.playerWindow, module->description);
    const FramePace pace = CapturePace(module->delayMs, session.options->framesPerSecond);
    if (session.frameClock) {
        session.frameClock->SetFramePace(pace.numerator, pace.denominator);
        SetSongFramePeriod(pace.numerator, pace.denominator);
    }
    session.frameMs = pace.Milliseconds();
    module->hwndParent = reinterpret_cast<HWND__*>(session.playerWindow);
    module->hDllInstance = reinterpret_cast<HINSTANCE__*>(session.pluginInstance);
    module->sRate = session.audio->rate;
    module->nCh = session.audio->channels;
    if (session.options->specialHost) module->userData = reinterpret_cast<void*>(HostMagic);
    int32_t result = 0;
    bool initReturned = false;
    CallModule(session, "Init", [&] {
        result = module->Init(module);
        initReturned = true;
    });
    if (initReturned && result != 0) {
        ReportProblem(session, "the module's Init failed (result " + std::to_string(result) + ")");
        return;
    }
    if (!initReturned) return;
    if (session.error.empty()) {
        session.runningModule = module;
        PostMessageA(session.playerWindow, WM_HOST_VIS_STARTED, 0, 0);
        if (session.frameClock) {
            session.capturedFrames = CaptureModule(session, module);
        } else {
            RunLive(session, module);
        }
        session.runningModule = nullptr;
    }
    session.quitAfterGoodRun = session.error.empty();
    CallModule(session, "Quit", [&] { module->Quit(module); });
}

}  // namespace

DWORD WINAPI VisThreadMain(void* parameter) {
    HostSession& session = *static_cast<HostSession*>(parameter);
    session.visThreadId = GetCurrentThreadId();
    SetVisThreadForFaults(session.visThreadId);
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the thread's queue exists from here on
    BoxWatch watch;
    if (session.frameClock || session.options->list) session.boxWatch = &watch;
    if (session.frameClock) PutPluginOnSongClock(session);
    RunModule(session);
    session.boxWatch = nullptr;
    PostMessageA(session.playerWindow, WM_HOST_VIS_ENDED, 0, 0);
    return 0;
}

void RequestVisStop(HostSession& session) {
    session.stopRequested = true;
    PostThreadMessageA(session.visThreadId, WM_QUIT, 0, 0);
}
