// The threads a captured plug-in starts, known from the moment they are
// made: the capture waits for a thread that may present a frame, and one
// that has not yet run far enough to wait or read a clock is such a thread.
#include <windows.h>

#include "host/win/import_hooks.h"
#include "host/win/song_time.h"
#include "host/win/time_hooks.h"

namespace {

using BeginThreadEx = uintptr_t(__cdecl*)(void*, unsigned, unsigned(__stdcall*)(void*), void*, unsigned, unsigned*);
using BeginThread = uintptr_t(__cdecl*)(void(__cdecl*)(void*), unsigned, void*);

void* Platform[1 + 2 * 10];

HANDLE Noted(HANDLE thread) {
    if (thread && thread != INVALID_HANDLE_VALUE) NotePluginThread(GetThreadId(thread));
    return thread;
}

// Made suspended and known before it runs a line (its first wait or read of
// the clock counts), then let go unless the plug-in asked for it suspended.
HANDLE Started(HANDLE thread, bool suspended) {
    Noted(thread);
    if (thread && !suspended) ResumeThread(thread);
    return thread;
}

HANDLE WINAPI HookCreateThread(SECURITY_ATTRIBUTES* security, SIZE_T stack, LPTHREAD_START_ROUTINE start,
                               void* parameter, DWORD flags, DWORD* id) {
    return Started(CreateThread(security, stack, start, parameter, flags | CREATE_SUSPENDED, id),
                   flags & CREATE_SUSPENDED);
}

// The runtimes' thread starters, one hook per runtime, each calling that
// runtime's own.
template <int Runtime>
uintptr_t __cdecl HookBeginThreadEx(void* security, unsigned stack, unsigned(__stdcall* start)(void*), void* parameter,
                                    unsigned flags, unsigned* id) {
    auto begin = reinterpret_cast<BeginThreadEx>(Platform[1 + 2 * Runtime]);
    if (!begin) return 0;
    return reinterpret_cast<uintptr_t>(
        Noted(reinterpret_cast<HANDLE>(begin(security, stack, start, parameter, flags, id))));
}

// _beginthread takes no flags: its thread is known once it has been made.
template <int Runtime>
uintptr_t __cdecl HookBeginThread(void(__cdecl* start)(void*), unsigned stack, void* parameter) {
    auto begin = reinterpret_cast<BeginThread>(Platform[2 + 2 * Runtime]);
    if (!begin) return uintptr_t(-1);
    const uintptr_t thread = begin(start, stack, parameter);
    if (thread != uintptr_t(-1)) Noted(reinterpret_cast<HANDLE>(thread));
    return thread;
}

#define RUNTIME(index, dll)                                                                                 \
    {dll, "_beginthreadex", reinterpret_cast<void*>(HookBeginThreadEx<index>), &Platform[1 + 2 * index]}, { \
        dll, "_beginthread", reinterpret_cast<void*>(HookBeginThread<index>), &Platform[2 + 2 * index]      \
    }

const ImportHook Hooks[] = {
    {"kernel32.dll", "CreateThread", reinterpret_cast<void*>(HookCreateThread), &Platform[0]},
    RUNTIME(0, "msvcrt.dll"),
    RUNTIME(1, "msvcr70.dll"),
    RUNTIME(2, "msvcr71.dll"),
    RUNTIME(3, "msvcr80.dll"),
    RUNTIME(4, "msvcr90.dll"),
    RUNTIME(5, "msvcr100.dll"),
    RUNTIME(6, "msvcr110.dll"),
    RUNTIME(7, "msvcr120.dll"),
    RUNTIME(8, "ucrtbase.dll"),
    RUNTIME(9, "api-ms-win-crt-runtime-l1-1-0.dll"),
};

}  // namespace

void AddThreadHooks() { AddImportHooks(Hooks, sizeof Hooks / sizeof Hooks[0]); }
