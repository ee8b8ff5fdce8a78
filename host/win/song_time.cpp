#include "host/win/song_time.h"
#include "host/win/critical_section.h"

#include <vector>

namespace {

// How often a wait without room for the host's object looks at the clock.
constexpr DWORD PollMs = 1;
// How long a present before the first frame waits for it.
constexpr DWORD FirstHoldLimitMs = 2000;

struct Waiter {
    HANDLE event;
    int64_t deadline;     // song time; NoDeadline for none
    int64_t heldRelease;  // ends once this many frames were released; -1: not held
    bool onObjects;       // an object or message may end it before its deadline
};

struct PluginThread {
    DWORD id;
    HANDLE handle;  // to tell when it has ended
    bool presented = false;
    bool seen = false;                // it has read a clock, waited or presented
    const Waiter* waiting = nullptr;  // the wait it is in, if any
};

struct SongTime {
    CriticalSection lock;
    SongClock clock;
    DWORD renderingThread = 0;
    bool started = false, framesRunning = false, framesEnded = false;
    // From a frame's release to the next frame's start: the plug-in's threads
    // have the frame, and their spinning moves the clock. While the thread
    // that renders has it, theirs does not, or how far they got would race
    // with Render.
    bool threadsHaveFrame = false;
    // The time the plug-in's threads read while the thread that renders has
    // the frame: where the last frame was released, so that a thread running
    // through Render sees the new frame's time only after it.
    int64_t threadsNow = 0;
    int64_t releases = 0;
    std::vector<Waiter*> waiters;
    std::vector<HANDLE> spareEvents;
    std::vector<PluginThread> threads;
    SongTimerTick atBegin = nullptr, atRelease = nullptr;
};

SongTime& Time() {
    static SongTime time;
    return time;
}

// Holds the state's lock for a scope.
class Locked : public Held {
public:
    Locked() : Held(Time().lock) {}
};

// Before the first frame no wait is due on the clock (it ends on the wall's,
// or goes on as the song's once the frames start); after the last, all are.
bool Due(const Waiter& w, const SongTime& t) {
    if (t.framesEnded) return true;
    if (!t.framesRunning) return false;
    return t.threadsNow >= w.deadline || (w.heldRelease >= 0 && t.releases >= w.heldRelease);
}

// Under the lock.
void WakeDue() {
    for (Waiter* w : Time().waiters)
        if (Due(*w, Time())) SetEvent(w->event);
}

// The calling thread when the plug-in started it, else null: the host's
// threads and the platform's run plug-in code too (Config on the main
// thread, callbacks), but the frames never wait for them nor hold them.
PluginThread* PluginThreadOf(DWORD id) {
    for (PluginThread& t : Time().threads)
        if (t.id == id) return &t;
    return nullptr;
}

PluginThread* ThisPluginThread() { return PluginThreadOf(GetCurrentThreadId()); }

bool HasEnded(const PluginThread& thread) {
    return thread.handle && WaitForSingleObject(thread.handle, 0) == WAIT_OBJECT_0;
}

// A wait on the song's clock, registered for the frames to end.
class SongWaiter {
public:
    SongWaiter(int64_t deadline, int64_t heldRelease, bool onObjects)
        : waiter_{nullptr, deadline, heldRelease, onObjects} {
        Locked locked;
        SongTime& t = Time();
        if (t.spareEvents.empty()) {
            waiter_.event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        } else {
            waiter_.event = t.spareEvents.back();
            t.spareEvents.pop_back();
        }
        t.waiters.push_back(&waiter_);
        if (PluginThread* thread = ThisPluginThread()) thread->waiting = &waiter_, thread->seen = true;
        if (Due(waiter_, t)) SetEvent(waiter_.event);
    }
    ~SongWaiter() {
        Locked locked;
        SongTime& t = Time();
        for (auto i = t.waiters.begin(); i != t.waiters.end(); ++i)
            if (*i == &waiter_) {
                t.waiters.erase(i);
                break;
            }
        if (PluginThread* thread = ThisPluginThread()) thread->waiting = nullptr;
        ResetEvent(waiter_.event);
        t.spareEvents.push_back(waiter_.event);
    }
    SongWaiter(const SongWaiter&) = delete;
    SongWaiter& operator=(const SongWaiter&) = delete;
    HANDLE Event() const { return waiter_.event; }
    // Ended by the clock (or by the frames' end); under no lock, a snapshot.
    bool Ended() {
        Locked locked;
        return Due(waiter_, Time());
    }

private:
    Waiter waiter_;
};

}  // namespace

void StartSongTime(DWORD renderingThread) {
    Locked locked;
    Time().renderingThread = renderingThread;
    Time().started = true;
}

void SetSongFramePeriod(int64_t numerator, int64_t denominator) {
    Locked locked;
    Time().clock.SetFramePeriod(numerator, denominator);
}

bool SongTimeStarted() { return Time().started; }

bool SongTimeRunning() {
    Locked locked;
    return Time().started && !Time().framesEnded;
}

bool OnRenderingThread() { return GetCurrentThreadId() == Time().renderingThread; }

int64_t SongNow() {
    Locked locked;
    SongTime& t = Time();
    if (OnRenderingThread()) return t.clock.Read();
    if (t.threadsHaveFrame) t.threadsNow = t.clock.Read();
    return t.threadsNow;
}

ClockReadings ReadSongClock() { return ReadingsAt(SongNow()); }

void BeginSongFrame(bool clockMoves) {
    SongTimerTick tick = nullptr;
    int64_t now;
    {
        Locked locked;
        if (!Time().framesRunning) {
            // The waits begun before the first frame go on as the song's.
            for (Waiter* w : Time().waiters) SetEvent(w->event);
        }
        Time().framesRunning = true;
        Time().threadsHaveFrame = false;
        if (clockMoves) {
            Time().clock.NextFrame();
            tick = Time().atBegin;
        }
        now = Time().clock.Now();
    }
    if (tick) tick(now);
}

void ReleaseSongFrame() {
    SongTimerTick tick;
    int64_t now;
    {
        Locked locked;
        ++Time().releases;
        Time().threadsHaveFrame = true;
        now = Time().threadsNow = Time().clock.Now();
        WakeDue();
        tick = Time().atRelease;
    }
    if (tick) tick(now);
}

void EndSongFrames() {
    Locked locked;
    Time().framesRunning = false;
    Time().framesEnded = true;
    Time().threadsHaveFrame = false;
    WakeDue();
}

bool SongFramesRunning() {
    Locked locked;
    return Time().framesRunning;
}

bool SongFramesEnded() {
    Locked locked;
    return Time().framesEnded;
}

static DWORD WaitOnClock(DWORD milliseconds, bool onObjects, bool roomForExtra, DWORD extraIndex, PlatformWait wait,
                         void* context) {
    if (milliseconds == 0) return wait(context, nullptr, 0);
    if (OnRenderingThread()) {
        // No frame can pass while the thread that renders waits: the time
        // the wait took passes on the song's clock.
        const DWORD result = wait(context, nullptr, milliseconds);
        if (result == WAIT_TIMEOUT) SkipSongTime(milliseconds);
        return result;
    }
    int64_t deadline;
    {
        Locked locked;
        if (Time().framesEnded) return wait(context, nullptr, milliseconds);
        deadline = milliseconds == INFINITE ? NoDeadline : Time().threadsNow + int64_t(milliseconds) * 1000;
    }
    // Before the first frame the wait ends on the wall's clock, unless the
    // frames start first; from then on on the song's.
    const ULONGLONG wallEnd = GetTickCount64() + milliseconds;
    SongWaiter waiter(deadline, -1, onObjects);
    for (;;) {
        DWORD slice = INFINITE;
        if (!SongFramesRunning() && !SongFramesEnded() && milliseconds != INFINITE) {
            const ULONGLONG now = GetTickCount64();
            if (now >= wallEnd) return WAIT_TIMEOUT;
            slice = DWORD(wallEnd - now);
        }
        const DWORD result = roomForExtra ? wait(context, waiter.Event(), slice)
                                          : wait(context, nullptr, slice < PollMs ? slice : PollMs);
        const bool clockTurn = roomForExtra ? result == WAIT_OBJECT_0 + extraIndex : result == WAIT_TIMEOUT;
        if (!clockTurn && result != WAIT_TIMEOUT) return result;
        if (!waiter.Ended()) continue;
        if (!SongFramesEnded()) return WAIT_TIMEOUT;
        // The frames ended during the wait: the rest of it on the wall's clock.
        if (deadline == NoDeadline) return wait(context, nullptr, INFINITE);
        const int64_t left = deadline - SongNow();
        return left <= 0 ? WAIT_TIMEOUT : wait(context, nullptr, DWORD((left + 999) / 1000));
    }
}

DWORD SongWait(DWORD milliseconds, bool roomForExtra, DWORD extraIndex, PlatformWait wait, void* context) {
    return WaitOnClock(milliseconds, true, roomForExtra, extraIndex, wait, context);
}

DWORD SongSleep(DWORD milliseconds, BOOL alertable) {
    if (OnRenderingThread() && milliseconds != INFINITE) {
        const DWORD result = SleepEx(0, alertable);
        if (result == 0) SkipSongTime(milliseconds);
        return result;
    }
    struct Sleep {
        BOOL alertable;
        static DWORD Wait(void* context, HANDLE extra, DWORD ms) {
            const BOOL alertable = static_cast<Sleep*>(context)->alertable;
            if (!extra) return SleepEx(ms, alertable) == WAIT_IO_COMPLETION ? WAIT_IO_COMPLETION : WAIT_TIMEOUT;
            return WaitForSingleObjectEx(extra, ms, alertable);
        }
    } sleep{alertable};
    return WaitOnClock(milliseconds, false, true, 0, Sleep::Wait, &sleep) == WAIT_IO_COMPLETION ? WAIT_IO_COMPLETION
                                                                                                : 0;
}

void SkipSongTime(DWORD milliseconds) {
    Locked locked;
    SongTime& t = Time();
    // The threads see it at the next frame's release: before the first
    // frame and after the last their waits end on the wall's clock.
    t.clock.Skip(int64_t(milliseconds) * 1000);
}

void HoldPresenter() {
    int64_t until;
    bool before;
    {
        Locked locked;
        PluginThread* thread = ThisPluginThread();
        if (!thread) return;
        thread->presented = thread->seen = true;
        if (Time().framesEnded || !Time().started) return;
        until = Time().releases + 1;
        before = !Time().framesRunning;
    }
    // Before the first frame too, so that a thread that drew during Init
    // starts on the first frame's samples like every other run; bounded,
    // for a plug-in whose Init waits for that present.
    SongWaiter waiter(NoDeadline, until, false);
    const ULONGLONG wallEnd = GetTickCount64() + FirstHoldLimitMs;
    while (!waiter.Ended()) {
        const ULONGLONG now = GetTickCount64();
        if (before && !SongFramesRunning() && now >= wallEnd) return;
        WaitForSingleObject(waiter.Event(), before && !SongFramesRunning() ? DWORD(wallEnd - now) : INFINITE);
    }
}

void NotePluginThread(DWORD id) {
    Locked locked;
    if (id && !PluginThreadOf(id)) Time().threads.push_back({id, OpenThread(SYNCHRONIZE, FALSE, id)});
}

bool PluginThreadPresented() {
    Locked locked;
    for (const PluginThread& thread : Time().threads)
        if (thread.presented) return true;
    return false;
}

bool PluginThreadsMayPresent(bool firstFrames) {
    Locked locked;
    SongTime& t = Time();
    for (PluginThread& thread : t.threads) {
        if (!thread.presented && !firstFrames) continue;
        if (HasEnded(thread)) continue;
        const Waiter* w = thread.waiting;
        if (!w || Due(*w, t)) return true;  // running, or about to
        // Held after presenting: it presents again only after the next Render.
        if (w->heldRelease >= 0) continue;
        // Asleep until a later frame it cannot present this one; waiting on
        // objects, which Render may have set, it may.
        if (w->onObjects) return true;
    }
    return false;
}

bool PluginThreadsUnderWay() {
    Locked locked;
    for (const PluginThread& thread : Time().threads)
        if (!thread.seen && !HasEnded(thread)) return false;
    return true;
}

void SetSongTimerTicks(SongTimerTick atBegin, SongTimerTick atRelease) {
    Locked locked;
    Time().atBegin = atBegin;
    Time().atRelease = atRelease;
}
