#include "host/win/capture.h"

#include "host/core/playback_clock.h"
#include "host/win/frame_capture.h"
#include "host/win/module_calls.h"

namespace {

// How long capture waits for the plug-in's own timer before it gives up.
constexpr DWORD TimerPatienceMs = 2000;

// While playing the host renders without sleeping and each frame is delayMs
// of audio; while paused or stopped, the frames come from the plug-in's timer.
class Capture {
public:
    Capture(HostSession& session, winampVisModule* module) : session_(session), module_(module) {}

    void Run() {
        const HostOptions& options = *session_.options;
        std::size_t nextAction = 0;
        PlayState previous = PlayState::Stopped;
        int ticksWhenPlayingBegan = -1;
        while (session_.exitCode == 0) {
            for (; nextAction < options.schedule.size() && options.schedule[nextAction].afterFrames <= captured_; ++nextAction)
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
                    if (!PumpFor(session_, TimerPatienceMs, [this] { ++ticks_; }, [&] { return ticks_ > before; })) return;
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

    void Fail(const std::string& problem) { ReportProblem(session_, "capture: " + problem); }

    HostSession& session_;
    winampVisModule* module_;
    int captured_ = 0;
    int ticks_ = 0;
    bool hasTimer_ = true;
};

}  // namespace

int CaptureModule(HostSession& session, winampVisModule* module) {
    Capture capture(session, module);
    capture.Run();
    return capture.Captured();
}
