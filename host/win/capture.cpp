#include "host/win/capture.h"

#include <tlhelp32.h>

#include <algorithm>
#include <utility>

#include "host/core/playback_clock.h"
#include "host/core/ppm_stream.h"
#include "host/win/abrupt_end.h"
#include "host/win/frame_capture.h"
#include "host/win/module_calls.h"

namespace {

// A plug-in's timer ticks within a few of its periods, and within half a
// second on a loaded machine; a plug-in without a timer costs that wait once.
// One that has ticked already may take longer.
DWORD FirstTickPatienceMs(double frameMs) { return DWORD(std::clamp(8 * frameMs, 500.0, 2000.0)); }
constexpr DWORD TickPatienceMs = 2000;
// Renders after which a plug-in that never presented once Render had
// returned is taken to draw within Render, and no longer waited for.
constexpr int QuietWaitsBeforeTrust = 8;
constexpr DWORD PollMs = 2;

enum class Timer { Unknown, Yes, No };

// Each frame is a fixed length of the song. While playing the host renders
// without sleeping and writes the picture each Render left, waiting for a
// plug-in that presents on a thread of its own; while paused or stopped the
// player calls no Render, and the frames are the picture as it stands, one
// for each tick of the plug-in's own timer, or one a frame period of real
// time for a plug-in without one.
class Capture {
public:
    Capture(HostSession& session, winampVisModule* module, bool ownThread)
        : session_(session), module_(module), frameMs_(DWORD(session.frameMs + 0.999)), ownThread_(ownThread) {}

    void Run() {
        const HostOptions& options = *session_.options;
        std::size_t nextAction = 0;
        PlayState previous = PlayState::Stopped;
        auto countTick = [this] { ++ticks_; };
        while (session_.exitCode == 0) {
            for (; nextAction < options.schedule.size() && options.schedule[nextAction].afterFrames <= captured_;
                 ++nextAction)
                Apply(options.schedule[nextAction].kind);
            if (LimitReached()) return;
            const PlayState state = session_.transport->State();
            if (state == PlayState::Stopped && previous == PlayState::Playing) {
                if (!RenderSilence(session_, module_)) return;
                SaveRendered();
                previous = state;
                continue;
            }
            if (state != PlayState::Playing && !options.frames && nextAction == options.schedule.size()) return;
            const bool began = state == PlayState::Playing && previous != PlayState::Playing;
            previous = state;
            if (state == PlayState::Playing) {
                // The plug-in learns from its timer that the player plays; a
                // tick first makes every run render the same frames.
                if (began && timer_ != Timer::No && !AwaitTick(false)) return;
                if (!Pump(session_, countTick)) return;
                FillRecord(session_, module_);
                if (!RenderOnce(session_, module_)) return;
                SaveRendered();
                session_.frameClock->Advance();
            } else if (timer_ != Timer::No) {
                if (!AwaitTick(true)) return;
                if (timer_ == Timer::No) SaveShown();
            } else {
                if (!PumpFor(session_, frameMs_, countTick, [] { return false; })) return;
                SaveShown();
            }
        }
    }

    int Captured() const { return captured_; }
    bool FramesFromOwnThread() const { return ownThread_; }

private:
    bool LimitReached() const { return session_.options->frames && captured_ >= session_.options->frames; }

    void Apply(ScheduledAction::Kind kind) {
        Transport& transport = *session_.transport;
        if (kind == ScheduledAction::Play) transport.Play();
        else if (kind == ScheduledAction::Pause) transport.Pause();
        else transport.Stop();
    }

    // Waits for a tick of the plug-in's timer, writing a frame for each one
    // when asked. False once the run is to end.
    bool AwaitTick(bool framePerTick) {
        const int before = ticks_;
        auto onTick = [this, framePerTick] {
            ++ticks_;
            if (framePerTick && !LimitReached()) SaveShown();
        };
        const DWORD patience = timer_ == Timer::Yes ? TickPatienceMs : FirstTickPatienceMs(session_.frameMs);
        if (!PumpFor(session_, patience, onTick, [&] { return ticks_ > before; })) return false;
        timer_ = ticks_ > before ? Timer::Yes : Timer::No;
        return true;
    }

    bool Read(RgbImage& image) {
        HWND window = FindDisplayWindow(session_.services.visWindow, session_.playerWindow);
        if (window && reader_.Read(window, image)) return true;
        if (reader_.DrawnWith3d()) {
            Fail(
                "the plug-in draws with Direct3D or OpenGL into a child window, which Wine cannot read back on this "
                "display (its pixels never reach GDI); no frames are written rather than black ones");
        } else {
            Fail("the module shows no window to read back");
        }
        return false;
    }

    // The picture a Render produced: the window as Render left it, or, for a
    // plug-in that presents on a thread of its own, once it was presented
    // anew or a frame period of real time has passed.
    void SaveRendered() {
        if (session_.exitCode != 0 || !Read(shown_)) return;
        if (waitForOwnThread_ && (ownThread_ || shown_.pixels == last_.pixels)) {
            rendered_ = shown_;
            bool presented = false;
            const ULONGLONG deadline = GetTickCount64() + frameMs_;
            while (!presented && GetTickCount64() < deadline) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, PollMs, QS_ALLINPUT);
                if (!Pump(session_, [this] { ++ticks_; }) || !Read(shown_)) return;
                presented = shown_.pixels != rendered_.pixels;
            }
            if (presented) ownThread_ = true;
            else if (!ownThread_ && ++quietWaits_ >= QuietWaitsBeforeTrust) waitForOwnThread_ = false;
        }
        Write();
    }

    // The picture as it stands, with no Render before it.
    void SaveShown() {
        if (session_.exitCode == 0 && Read(shown_)) Write();
    }

    // Writes the picture read last, which then becomes the last frame.
    void Write() {
        LockFrameOutput();  // an abrupt end keeps this frame whole
        const bool written = WriteFrame(shown_);
        if (written) CountFrameWritten();
        UnlockFrameOutput();
        if (!written) return;
        std::swap(last_, shown_);  // the next read fills the other buffer
        ++captured_;
    }

    bool WriteFrame(const RgbImage& image) {
        const std::string& folder = session_.options->captureDir;
        if (!folder.empty()) {
            const std::string path = FramePath(folder, captured_ + 1);
            if (!WritePng(path, image)) {
                Fail(path + ": cannot write the frame");
                return false;
            }
        }
        if (session_.stream && !session_.stream->Write(image)) {
            Fail(session_.options->streamPath + ": cannot write the frame (the reader went away?)");
            return false;
        }
        return true;
    }

    void Fail(const std::string& problem) { ReportProblem(session_, "capture: " + problem); }

    HostSession& session_;
    winampVisModule* module_;
    const DWORD frameMs_;  // a frame period of real time
    int captured_ = 0;
    int ticks_ = 0;
    Timer timer_ = Timer::Unknown;
    bool waitForOwnThread_ = true;
    bool ownThread_;
    int quietWaits_ = 0;
    WindowReader reader_;
    RgbImage shown_, rendered_, last_;
};

}  // namespace

int ProcessThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread))
        count += thread.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

int CaptureModule(HostSession& session, winampVisModule* module) {
    Capture capture(session, module, ProcessThreadCount() > session.threadsBeforeInit);
    capture.Run();
    session.framesFromOwnThread = capture.FramesFromOwnThread();
    return capture.Captured();
}
