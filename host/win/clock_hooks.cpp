// The clocks a plug-in reads, answered from the song's time: the kernel's,
// the multimedia library's and the C runtimes' (a runtime the plug-in links
// statically reads the kernel's, which are hooked already).
#include <windows.h>
// after windows.h, whose types it uses
#include <mmsystem.h>

#include "host/win/import_hooks.h"
#include "host/win/song_time.h"
#include "host/win/time_hooks.h"

namespace {

BOOL WINAPI HookQueryPerformanceCounter(LARGE_INTEGER* counter) {
    if (!counter) return FALSE;
    counter->QuadPart = ReadSongClock().performanceCounter;
    return TRUE;
}

BOOL WINAPI HookQueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (!frequency) return FALSE;
    frequency->QuadPart = PerformanceFrequency;
    return TRUE;
}

DWORD WINAPI HookGetTickCount() { return DWORD(ReadSongClock().milliseconds); }
ULONGLONG WINAPI HookGetTickCount64() { return ReadSongClock().milliseconds; }
DWORD WINAPI HookTimeGetTime() { return DWORD(ReadSongClock().milliseconds); }

MMRESULT WINAPI HookTimeGetSystemTime(MMTIME* time, UINT size) {
    if (!time || size < sizeof(MMTIME)) return MMSYSERR_INVALPARAM;
    time->wType = TIME_MS;
    time->u.ms = DWORD(ReadSongClock().milliseconds);
    return MMSYSERR_NOERROR;
}

FILETIME SongFileTime() {
    const uint64_t t = ReadSongClock().fileTime;
    return {DWORD(t), DWORD(t >> 32)};
}

void WINAPI HookGetSystemTimeAsFileTime(FILETIME* time) {
    if (time) *time = SongFileTime();
}

void WINAPI HookGetSystemTime(SYSTEMTIME* time) {
    const FILETIME now = SongFileTime();
    if (time) FileTimeToSystemTime(&now, time);
}

void WINAPI HookGetLocalTime(SYSTEMTIME* time) {
    const FILETIME now = SongFileTime();
    FILETIME local;
    if (time && FileTimeToLocalFileTime(&now, &local)) FileTimeToSystemTime(&local, time);
}

// Seconds since 1970 of the song's time, and milliseconds since the start.
constexpr uint64_t FileTimeOf1970 = 116444736000000000ull;
int64_t UnixSeconds() { return int64_t((ReadSongClock().fileTime - FileTimeOf1970) / 10000000); }

int32_t __cdecl HookTime32(int32_t* out) {
    const int32_t now = int32_t(UnixSeconds());
    if (out) *out = now;
    return now;
}

int64_t __cdecl HookTime64(int64_t* out) {
    const int64_t now = UnixSeconds();
    if (out) *out = now;
    return now;
}

// The runtimes count clock() from the process's start, which for the
// plug-in is the song's; CLOCKS_PER_SEC is 1000 in each.
long __cdecl HookClock() { return long(SongNow() / 1000); }

void* Platform[64];
int Used = 0;
void** Slot() { return &Platform[Used++]; }

#define KERNEL(name) \
    { "kernel32.dll", #name, reinterpret_cast<void*>(Hook##name), Slot() }
// The C runtimes a plug-in may link: msvcrt and the versioned ones; in
// msvcrt and up to msvcr71 `time` is 32-bit, later runtimes export both.
#define RUNTIME(dll)                                                     \
    {dll, "clock", reinterpret_cast<void*>(HookClock), Slot()},          \
        {dll, "_time32", reinterpret_cast<void*>(HookTime32), Slot()}, { \
        dll, "_time64", reinterpret_cast<void*>(HookTime64), Slot()      \
    }
#define OLD_RUNTIME(dll) \
    RUNTIME(dll), { dll, "time", reinterpret_cast<void*>(HookTime32), Slot() }

const ImportHook Hooks[] = {
    KERNEL(QueryPerformanceCounter),
    KERNEL(QueryPerformanceFrequency),
    KERNEL(GetTickCount),
    KERNEL(GetTickCount64),
    KERNEL(GetSystemTimeAsFileTime),
    {"kernel32.dll", "GetSystemTimePreciseAsFileTime", reinterpret_cast<void*>(HookGetSystemTimeAsFileTime), Slot()},
    KERNEL(GetSystemTime),
    KERNEL(GetLocalTime),
    {"winmm.dll", "timeGetTime", reinterpret_cast<void*>(HookTimeGetTime), Slot()},
    {"winmm.dll", "timeGetSystemTime", reinterpret_cast<void*>(HookTimeGetSystemTime), Slot()},
    OLD_RUNTIME("msvcrt.dll"),
    OLD_RUNTIME("msvcr70.dll"),
    OLD_RUNTIME("msvcr71.dll"),
    RUNTIME("msvcr80.dll"),
    RUNTIME("msvcr90.dll"),
    RUNTIME("msvcr100.dll"),
    RUNTIME("msvcr110.dll"),
    RUNTIME("msvcr120.dll"),
    RUNTIME("ucrtbase.dll"),
    RUNTIME("api-ms-win-crt-time-l1-1-0.dll"),
};
static_assert(sizeof Hooks / sizeof Hooks[0] <= sizeof Platform / sizeof Platform[0], "a slot for each hook");

}  // namespace

void AddClockHooks() { AddImportHooks(Hooks, sizeof Hooks / sizeof Hooks[0]); }
