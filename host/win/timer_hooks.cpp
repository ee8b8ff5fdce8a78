// The plug-in's timers on the song's clock: window timers (SetTimer) post
// their WM_TIMER when the song reaches them, at a frame's start; multimedia
// timers (timeSetEvent) call back, on a thread of their own as the
// platform's do, when the frame is released. The platform keeps each window
// timer, at a period that never ends, so that its callback stays valid.
#include <windows.h>
// after windows.h, whose types it uses
#include <mmsystem.h>

#include <vector>

#include "host/win/critical_section.h"
#include "host/win/import_hooks.h"
#include "host/win/song_time.h"
#include "host/win/time_hooks.h"

namespace {

// How long a frame waits for the multimedia timers' callbacks: one that
// takes longer than this is stuck, and the frames go on without it.
constexpr DWORD CallbackLimitMs = 2000;

struct WindowTimer {
    uint64_t key;
    HWND window;
    UINT_PTR id;
    DWORD thread;  // for a timer of no window
    TIMERPROC proc;
};

struct MediaTimer {
    uint64_t key;
    UINT id;
    LPTIMECALLBACK callback;
    DWORD_PTR user;
    UINT flags;
};

struct Timers {
    CriticalSection lock;
    SongTimers window, media;
    std::vector<WindowTimer> windowTimers;
    std::vector<MediaTimer> mediaTimers, due, calling;
    std::vector<uint64_t> dueKeys;  // kept from frame to frame
    UINT nextMediaId = 1;
    HANDLE worker = nullptr, work = nullptr, done = nullptr;
};

Timers& State() {
    static Timers timers;
    return timers;
}

// Holds the state's lock for a scope.
class Locked : public Held {
public:
    Locked() : Held(State().lock) {}
};

uint64_t WindowKey(HWND window, UINT_PTR id) {
    return uint64_t(reinterpret_cast<uintptr_t>(window) ? reinterpret_cast<uintptr_t>(window) : GetCurrentThreadId())
               << 32 |
           uint32_t(id);
}

void PostDue(int64_t now) {
    Locked locked;
    std::vector<uint64_t>& due = State().dueKeys;
    due.clear();
    State().window.TakeDue(now, due);
    for (uint64_t key : due)
        for (const WindowTimer& t : State().windowTimers) {
            if (t.key != key) continue;
            const LPARAM proc = reinterpret_cast<LPARAM>(t.proc);
            if (t.window) PostMessageA(t.window, WM_TIMER, t.id, proc);
            else PostThreadMessageA(t.thread, WM_TIMER, t.id, proc);
        }
}

DWORD WINAPI CallBackLoop(void*) {
    for (;;) {
        WaitForSingleObject(State().work, INFINITE);
        std::vector<MediaTimer>& calling = State().calling;  // this thread's alone
        {
            Locked locked;
            calling.swap(State().due);
            State().due.clear();
        }
        for (const MediaTimer& t : calling) t.callback(t.id, 0, t.user, 0, 0);
        SetEvent(State().done);
    }
}

void CallDue(int64_t now) {
    bool calls = false;
    {
        Locked locked;
        Timers& s = State();
        if (s.media.Empty()) return;
        std::vector<uint64_t>& keys = s.dueKeys;
        keys.clear();
        s.media.TakeDue(now, keys);
        for (uint64_t key : keys)
            for (const MediaTimer& t : s.mediaTimers) {
                if (t.key != key) continue;
                const HANDLE event = reinterpret_cast<HANDLE>(t.callback);
                if (t.flags & TIME_CALLBACK_EVENT_SET) SetEvent(event);
                else if (t.flags & TIME_CALLBACK_EVENT_PULSE) PulseEvent(event);
                else s.due.push_back(t), calls = true;
            }
        if (!calls) return;
        if (!s.worker) {
            s.work = CreateEventA(nullptr, FALSE, FALSE, nullptr);
            s.done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
            s.worker = CreateThread(nullptr, 0, CallBackLoop, nullptr, 0, nullptr);
        }
    }
    SetEvent(State().work);
    WaitForSingleObject(State().done, CallbackLimitMs);
}

UINT_PTR WINAPI HookSetTimer(HWND window, UINT_PTR id, UINT ms, TIMERPROC proc) {
    const UINT_PTR made = SetTimer(window, id, USER_TIMER_MAXIMUM, proc);
    if (!made) return 0;
    const UINT_PTR timerId = window ? id : made;
    const uint64_t key = WindowKey(window, timerId);
    Locked locked;
    Timers& s = State();
    s.window.Set(key, WindowTimerPeriodMicroseconds(ms), SongNow(), SongTimers::Coalescing);
    bool known = false;
    for (WindowTimer& t : s.windowTimers)
        if (t.key == key) t.proc = proc, known = true;
    if (!known) s.windowTimers.push_back({key, window, timerId, GetCurrentThreadId(), proc});
    return made;
}

BOOL WINAPI HookKillTimer(HWND window, UINT_PTR id) {
    const uint64_t key = WindowKey(window, id);
    {
        Locked locked;
        Timers& s = State();
        s.window.Kill(key);
        for (auto t = s.windowTimers.begin(); t != s.windowTimers.end(); ++t)
            if (t->key == key) {
                s.windowTimers.erase(t);
                break;
            }
    }
    return KillTimer(window, id);
}

MMRESULT WINAPI HookTimeSetEvent(UINT delay, UINT, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags) {
    if (!callback) return 0;
    Locked locked;
    Timers& s = State();
    const UINT id = s.nextMediaId++;
    const SongTimers::Kind kind = flags & TIME_PERIODIC ? SongTimers::CatchingUp : SongTimers::OneShot;
    s.media.Set(id, int64_t(delay ? delay : 1) * 1000, SongNow(), kind);
    s.mediaTimers.push_back({id, id, callback, user, flags});
    return id;
}

MMRESULT WINAPI HookTimeKillEvent(UINT id) {
    Locked locked;
    Timers& s = State();
    s.media.Kill(id);
    for (auto t = s.mediaTimers.begin(); t != s.mediaTimers.end(); ++t)
        if (t->id == id) {
            s.mediaTimers.erase(t);
            return TIMERR_NOERROR;
        }
    return MMSYSERR_INVALPARAM;
}

void* Platform[4];

const ImportHook Hooks[] = {
    {"user32.dll", "SetTimer", reinterpret_cast<void*>(HookSetTimer), &Platform[0]},
    {"user32.dll", "KillTimer", reinterpret_cast<void*>(HookKillTimer), &Platform[1]},
    {"winmm.dll", "timeSetEvent", reinterpret_cast<void*>(HookTimeSetEvent), &Platform[2]},
    {"winmm.dll", "timeKillEvent", reinterpret_cast<void*>(HookTimeKillEvent), &Platform[3]},
};

}  // namespace

void AddTimerHooks() {
    AddImportHooks(Hooks, sizeof Hooks / sizeof Hooks[0]);
    SetSongTimerTicks(PostDue, CallDue);
}
