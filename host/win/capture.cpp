#include "host/win/capture.h"

#include "host/core/playback_clock.h"
#include "host/core/ppm_stream.h"
#include "host/win/abrupt_end.h"
#include "host/win/embed_frame.h"
#include "host/win/frame_capture.h"
#include "host/win/import_hooks.h"
#include "host/win/module_calls.h"
#include "host/win/present_hooks.h"
#include "host/win/present_hub.h"
#include "host/win/song_time.h"
#include "host/win/time_hooks.h"

namespace {

// How long a frame waits for a plug-in thread's present once Render has
// returned: a thread that presented before and is neither held nor asleep
// until a later frame presents within this, unless it is broken.
constexpr DWORD PresentWaitMs = 2000;
// In the first frames, before any thread presented, a thread the plug-in
// started may be about to; one that lets these frames go by presents none.
// A thread started in Init gets a while longer to get under way: a loaded
// machine may start it late, and it runs no plug-in code before.
constexpr int FirstPresentFrames = 4;
constexpr DWORD FirstPresentWaitMs = 500;
constexpr DWORD ThreadStartWaitMs = 2000;
constexpr DWORD PollMs = 1;

// Each frame is a fixed length of the song. The song's clock moves one
// frame on, the window timers due tick, Render gets that frame's samples
// (while playing; while paused or stopped the player calls no Render), the
// plug-in's waits due end, and the frame is the first picture the plug-in
// presented since, or, for one that presented none, the window as it stands.
class Capture {
public:
    Capture(HostSession& session, winampVisModule* module) : session_(session), module_(module) {}

    void Run() {
        const HostOptions& options = *session_.options;
        if (!AwaitThreadsUnderWay()) return;
        std::size_t nextAction = 0;
        PlayState previous = PlayState::Stopped;
        while (session_.exitCode == 0) {
            for (; nextAction < options.schedule.size() && options.schedule[nextAction].afterFrames <= captured_;
                 ++nextAction)
                Apply(options.schedule[nextAction].kind);
            if (LimitReached()) return;
            const PlayState state = session_.transport->State();
            const bool stoppedNow = state == PlayState::Stopped && previous == PlayState::Playing;
            if (state != PlayState::Playing && !stoppedNow && !options.frames && nextAction == options.schedule.size())
                return;
            previous = state;
            if (!Frame(state == PlayState::Playing, stoppedNow)) return;
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

    bool Frame(bool playing, bool silence) {
        BeginSongFrame(!silence);
        AwaitPresent(FindDisplayWindow(session_.services.visWindow, session_.playerWindow));
        if (!Pump(session_)) return false;
        if (playing) {
            FillRecord(session_, module_);
            if (!RenderOnce(session_, module_)) return false;
        } else if (silence && !RenderSilence(session_, module_)) {
            return false;
        }
        ReleaseSongFrame();
        const FrameSource source = AwaitFrame();
        if (session_.exitCode != 0) return false;
        if (source == FrameSource::Present) {
            Write(PresentedImage());
        } else if (Read(shown_)) {
            Write(shown_);
        }
        if (playing) session_.frameClock->Advance();
        return session_.exitCode == 0;
    }

    // Before the first frame, the threads the plug-in started in Init get
    // under way, however late the machine lets them start.
    bool AwaitThreadsUnderWay() { return PumpFor(session_, ThreadStartWaitMs, PluginThreadsUnderWay, PollMs); }

    // Waits while a plug-in thread may still present the frame, serving the
    // thread's messages (a plug-in thread may send to a window of this one).
    FrameSource AwaitFrame() {
        const bool firstFrames = captured_ < FirstPresentFrames && !PluginThreadPresented();
        PumpFor(
            session_, firstFrames ? FirstPresentWaitMs : PresentWaitMs,
            [firstFrames] { return PresentTaken() != FrameSource::None || !PluginThreadsMayPresent(firstFrames); },
            PollMs, PresentTakenEvent());
        StopAwaitingPresent();
        return PresentTaken();
    }

    bool Read(RgbImage& image) {
        HWND window = FindDisplayWindow(session_.services.visWindow, session_.playerWindow);
        if (window && reader_.Read(window, image)) return true;
        if (reader_.DrawnWith3d()) {
            Fail(
                "the plug-in draws with Direct3D or OpenGL into a child window and presented no frame the host "
                "could read (its pixels never reach GDI); no frames are written rather than black ones");
        } else {
            Fail("the module shows no window to read back");
        }
        return false;
    }

    void Write(const RgbImage& image) {
        LockFrameOutput();  // an abrupt end keeps this frame whole
        const bool written = WriteFrame(image);
        if (written) CountFrameWritten();
        UnlockFrameOutput();
        if (!written) return;
        ++captured_;
        session_.frameWidth = image.width, session_.frameHeight = image.height;
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
    int captured_ = 0;
    WindowReader reader_;
    RgbImage shown_;
};

}  // namespace

int CaptureModule(HostSession& session, winampVisModule* module) {
    Capture capture(session, module);
    capture.Run();
    EndSongFrames();  // the plug-in's threads go on, on the wall's clock, to Quit
    return capture.Captured();
}

void PutPluginOnSongClock(HostSession& session) {
    AddClockHooks();
    AddWaitHooks();
    AddTimerHooks();
    AddModuleHooks();
    AddThreadHooks();
    AddSeedHooks();
    AddGdiPresentHooks();
    AddDirectDrawPresentHooks();
    AddDirect3D9PresentHooks();
    AddOpenGLPresentHooks();
    const HostOptions& options = *session.options;
    if (options.width) {
        SetEmbedDisplaySize(options.width, options.height);
        SetRequestedBackBufferSize({options.width, options.height});
    }
    StartSongTime(GetCurrentThreadId());
    HookPluginModules(session.pluginInstance);
}
