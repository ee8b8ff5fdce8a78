// The plug-in's sleeps and timed waits, ended by the song's clock rather
// than the wall's (song_time.h). Waits without a timeout, or of none, are
// the platform's.
#include <windows.h>

#include "host/win/import_hooks.h"
#include "host/win/song_time.h"
#include "host/win/time_hooks.h"

namespace {

void WINAPI HookSleep(DWORD milliseconds) { SongSleep(milliseconds, FALSE); }
DWORD WINAPI HookSleepEx(DWORD milliseconds, BOOL alertable) { return SongSleep(milliseconds, alertable); }

// A wait on objects, to which the song's clock adds its own as the last one
// when there is room and the wait ends on any of them.
struct ObjectWait {
    DWORD count;
    const HANDLE* handles;
    BOOL all;
    BOOL alertable;
    DWORD wakeMask, flags;  // messages, for MsgWaitForMultipleObjectsEx
    bool messages;
    HANDLE joined[MAXIMUM_WAIT_OBJECTS];

    bool RoomForClock() const {
        return !all && !(messages && (flags & MWMO_WAITALL)) && count < MAXIMUM_WAIT_OBJECTS - (messages ? 1 : 0);
    }

    static DWORD Wait(void* context, HANDLE clock, DWORD ms) {
        return static_cast<ObjectWait*>(context)->On(clock, ms);
    }

    DWORD On(HANDLE clock, DWORD ms) {
        const HANDLE* list = handles;
        DWORD n = count;
        if (clock) {
            for (DWORD i = 0; i < count; ++i) joined[i] = handles[i];
            joined[count] = clock;
            list = joined;
            ++n;
        }
        if (!messages) return WaitForMultipleObjectsEx(n, list, all, ms, alertable);
        const DWORD result = MsgWaitForMultipleObjectsEx(n, list, ms, wakeMask, flags);
        // With the clock's object added, the messages' result is one further on.
        return clock && result == WAIT_OBJECT_0 + n ? WAIT_OBJECT_0 + count : result;
    }

    DWORD Run(DWORD ms) {
        if (ms == 0 || ms == INFINITE || !SongTimeStarted()) return On(nullptr, ms);
        return SongWait(ms, RoomForClock(), count, Wait, this);
    }
};

DWORD WINAPI HookWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, BOOL all, DWORD ms, BOOL alertable) {
    ObjectWait wait{count, handles, all, alertable, 0, 0, false, {}};
    return wait.Run(ms);
}

DWORD WINAPI HookWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL all, DWORD ms) {
    return HookWaitForMultipleObjectsEx(count, handles, all, ms, FALSE);
}

DWORD WINAPI HookWaitForSingleObjectEx(HANDLE handle, DWORD ms, BOOL alertable) {
    return HookWaitForMultipleObjectsEx(1, &handle, FALSE, ms, alertable);
}

DWORD WINAPI HookWaitForSingleObject(HANDLE handle, DWORD ms) { return HookWaitForSingleObjectEx(handle, ms, FALSE); }

DWORD WINAPI HookMsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD ms, DWORD mask, DWORD flags) {
    ObjectWait wait{count, handles, FALSE, FALSE, mask, flags, true, {}};
    return wait.Run(ms);
}

DWORD WINAPI HookMsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL all, DWORD ms, DWORD mask) {
    return HookMsgWaitForMultipleObjectsEx(count, handles, ms, mask, all ? MWMO_WAITALL : 0);
}

void* Platform[8];

const ImportHook Hooks[] = {
    {"kernel32.dll", "Sleep", reinterpret_cast<void*>(HookSleep), &Platform[0]},
    {"kernel32.dll", "SleepEx", reinterpret_cast<void*>(HookSleepEx), &Platform[1]},
    {"kernel32.dll", "WaitForSingleObject", reinterpret_cast<void*>(HookWaitForSingleObject), &Platform[2]},
    {"kernel32.dll", "WaitForSingleObjectEx", reinterpret_cast<void*>(HookWaitForSingleObjectEx), &Platform[3]},
    {"kernel32.dll", "WaitForMultipleObjects", reinterpret_cast<void*>(HookWaitForMultipleObjects), &Platform[4]},
    {"kernel32.dll", "WaitForMultipleObjectsEx", reinterpret_cast<void*>(HookWaitForMultipleObjectsEx), &Platform[5]},
    {"user32.dll", "MsgWaitForMultipleObjects", reinterpret_cast<void*>(HookMsgWaitForMultipleObjects), &Platform[6]},
    {"user32.dll", "MsgWaitForMultipleObjectsEx", reinterpret_cast<void*>(HookMsgWaitForMultipleObjectsEx),
     &Platform[7]},
};

}  // namespace

void AddWaitHooks() { AddImportHooks(Hooks, sizeof Hooks / sizeof Hooks[0]); }
