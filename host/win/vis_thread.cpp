#include "host/win/vis_thread.h"

#include <cstdio>
#include <iomanip>
#include <sstream>

#include "host/core/playback_clock.h"
#include "host/core/waveform.h"
#include "host/win/frame_capture.h"
#include "host/win/guarded_call.h"

namespace {

// How long capture waits for the plug-in's own timer before it gives up.
constexpr DWORD TimerPatienceMs = 2000;

// Dispatches the thread's pending messages; onTimer runs after each WM_TIMER.
// False once WM_QUIT arrives or a stop is requested.
template <typename OnTimer>
bool Pump(HostSession& session, OnTimer onTimer) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) return false;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (msg.message == WM_TIMER) onTimer();
    }
    return !session.stopRequested;
}

// Waits up to the given time for messages, dispatching them as they come,
// until the time is up or stopWaiting() says so. False as Pump.
template <typename OnTimer, typename Done>
bool PumpFor(HostSession& session, DWORD milliseconds, OnTimer onTimer, Done stopWaiting) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        if (!Pump(session, onTimer)) return false;
        if (stopWaiting()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(deadline - now), QS_ALLINPUT);
    }
}

void FillRecord(HostSession& session, winampVisModule* module) {
    const PcmAudio& audio = *session.audio;
    FillWaveform(audio, session.transport->Position() + FramesIn(module->latencyMs, audio.rate), module->waveformData);
}

std::string Hex(uintptr_t value) {
    std::ostringstream text;
    text << "0x" << std::uppercase << std::hex << std::setfill('0') << std::setw(8) << value;
    return text.str();
}

// A fault in the module is reported and ends the run with a failure.
void ReportFault(HostSession& session, const char* operation, const PluginFault& fault) {
    session.error = std::string("the module's ") + operation + " faulted: exception " + Hex(fault.code) + " at " +
                    Hex(reinterpret_cast<uintptr_t>(fault.address)) + "; the module is stopped";
    session.exitCode = 1;
}

// One Render under the guard. False once the module is to stop: it faulted,
// or it asked to by a non-zero result, which a plug-in gives when its own
// window was closed, so the run still ends well.
bool RenderOnce(HostSession& session, winampVisModule* module) {
    int32_t result = 0;
    PluginFault fault;
    if (!Guarded([&] { result = module->Render(module); }, fault)) {
        ReportFault(session, "Render", fault);
        return false;
    }
    if (result == 0) return true;
    session.notice = "the module's Render returned " + std::to_string(result) + "; the module is stopped";
    return false;
}

// The player's last frame when playback stops: all samples 0.
bool RenderSilence(HostSession& session, winampVisModule* module) {
    for (auto& channel : module->waveformData)
        for (auto& sample : channel) sample = 0;
    return RenderOnce(session, module);
}

// The player's loop: render while playing, every delayMs, and once more with
// silence when playback stops.
void RunLive(HostSession& session, winampVisModule* module) {
    auto nothing = [] {};
    auto never = [] { return false; };
    PlayState previous = PlayState::Stopped;
    for (;;) {
        if (!Pump(session, nothing)) return;
        const PlayState state = session.transport->State();
        if (state == PlayState::Playing) {
            FillRecord(session, module);
            if (!RenderOnce(session, module)) return;
        } else if (state == PlayState::Stopped && previous == PlayState::Playing) {
            if (!RenderSilence(session, module)) return;
        }
        previous = state;
        if (!PumpFor(session, DWORD(module->delayMs > 0 ? module->delayMs : 1), nothing, never)) return;
    }
}

// Capture mode: every frame the plug-in presents goes to a PNG file. While
// playing the host renders without sleeping and each frame is delayMs of
// audio; while paused or stopped, the frames come from the plug-in's timer.
class Capture {
public:
    Capture(HostSession& session, winampVisModule* module) : session_(session), module_(module) {}

    void Run() {
        const HostOptions& options = *session_.options;
        std::size_t nextAction = 0;
        PlayState previous = PlayState::Stopped;
        int ticksWhenPlayingBegan = -1;
        while (session_.exitCode == 0) {
            for (; nextAction < options.schedule.size() && options.schedule[nextAction].afterFrames <= captured_;
                 ++nextAction)
                Apply(options.schedule[nextAction].kind);
            if (LimitReached()) return;
            const PlayState state = session_.transport->State();
            const bool playing = state == PlayState::Playing;
            if (state == PlayState::Stopped && previous == PlayState::Playing) {
                if (!RenderSilence(session_, module_)) return;
                Save();
                previous = state;
                continue;
            }
            if (!playing && !options.frames && nextAction == options.schedule.size()) return;  // playback is over
            if (playing && previous != PlayState::Playing) ticksWhenPlayingBegan = ticks_;
            previous = state;
            if (playing) {
                // The plug-in learns from its timer that the player plays;
                // wait for one tick so that every run renders the same frames.
                if (ticksWhenPlayingBegan >= 0 && hasTimer_) {
                    const int before = ticksWhenPlayingBegan;
                    if (!PumpFor(
                            session_, TimerPatienceMs, [this] { ++ticks_; }, [&] { return ticks_ > before; }))
                        return;
                    hasTimer_ = ticks_ > before;
                    ticksWhenPlayingBegan = -1;
                }
                if (!Pump(session_, [this] { ++ticks_; })) return;
                FillRecord(session_, module_);
                if (!RenderOnce(session_, module_)) return;
                Save();
                session_.frameClock->Advance();
            } else {
                const int before = ticks_;
                auto onTick = [this] {
                    ++ticks_;
                    if (!LimitReached()) Save();
                };
                if (!PumpFor(session_, TimerPatienceMs, onTick, [&] { return ticks_ > before; })) return;
                if (ticks_ == before) {
                    Fail("the plug-in presents no frames while the player is " +
                         std::string(state == PlayState::Paused ? "paused" : "stopped"));
                }
            }
        }
    }

    int Captured() const { return captured_; }

private:
    bool LimitReached() const { return session_.options->frames && captured_ >= session_.options->frames; }

    void Apply(ScheduledAction::Kind kind) {
        Transport& transport = *session_.transport;
        if (kind == ScheduledAction::Play) transport.Play();
        else if (kind == ScheduledAction::Pause) transport.Pause();
        else transport.Stop();
    }

    void Save() {
        if (session_.exitCode != 0) return;
        HWND window = FindThreadWindow();
        RgbImage image;
        if (!window || !ReadWindowPixels(window, image)) return Fail("the module shows no window to read back");
        const std::string path = FramePath(session_.options->captureDir, captured_ + 1);
        if (!WritePng(path, image)) return Fail(path + ": cannot write the frame");
        ++captured_;
    }

    void Fail(const std::string& problem) {
        session_.error = "capture: " + problem;
        session_.exitCode = 1;
    }

    HostSession& session_;
    winampVisModule* module_;
    int captured_ = 0;
    int ticks_ = 0;
    bool hasTimer_ = true;
};

void Finish(HostSession& session) { PostMessageA(session.playerWindow, WM_HOST_VIS_ENDED, 0, 0); }

}  // namespace

DWORD WINAPI VisThreadMain(void* parameter) {
    HostSession& session = *static_cast<HostSession*>(parameter);
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the thread's queue exists from here on
    const int index = session.options->module;
    winampVisModule* module = session.header->getModule(index);
    if (!module) {
        session.error = "module " + std::to_string(index) + " went away";
        session.exitCode = 1;
        Finish(session);
        return 0;
    }
    module->hwndParent = reinterpret_cast<HWND__*>(session.playerWindow);
    module->hDllInstance = reinterpret_cast<HINSTANCE__*>(session.pluginInstance);
    module->sRate = session.audio->rate;
    module->nCh = session.audio->channels;
    if (session.options->specialHost) module->userData = reinterpret_cast<void*>(HostMagic);
    int32_t result = 0;
    PluginFault fault;
    if (!Guarded([&] { result = module->Init(module); }, fault)) {
        ReportFault(session, "Init", fault);
        Finish(session);
        return 0;
    }
    if (result != 0) {
        session.error = "the module's Init failed (result " + std::to_string(result) + ")";
        session.exitCode = 1;
        Finish(session);
        return 0;
    }
    session.delayMs = module->delayMs;
    session.runningModule = module;
    PostMessageA(session.playerWindow, WM_HOST_VIS_STARTED, 0, 0);
    if (session.frameClock) {
        Capture capture(session, module);
        capture.Run();
        session.capturedFrames = capture.Captured();
    } else {
        RunLive(session, module);
    }
    session.runningModule = nullptr;
    if (!Guarded([&] { module->Quit(module); }, fault) && session.error.empty()) ReportFault(session, "Quit", fault);
    Finish(session);
    return 0;
}

void RequestVisStop(HostSession& session) {
    session.stopRequested = true;
    PostThreadMessageA(session.visThreadId, WM_QUIT, 0, 0);
}
