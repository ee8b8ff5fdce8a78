// The paced modules: as AVS does, a thread of the probe's own draws into a
// child of the embed frame at a pace it keeps by a clock, every 25 ms, with
// the samples of the latest Render; its last band shows the time it drew at,
// and the one before a random number, seeded from the clock and the thread's
// id as AVS seeds, so that its frames are the same on every run only if its
// clock and its seeds are.
//   "Paced by sleeps": timeGetTime, sleeping a few milliseconds at a time;
//   "Paced by the counter": QueryPerformanceCounter, spinning.
#include "tests/wine/kind_probe.h"

#include <mmsystem.h>

#include <atomic>
#include <cstdlib>

namespace {

constexpr DWORD PeriodMs = 25;

embedWindowState Embed;
HWND Frame = nullptr, Child = nullptr;
HANDLE Drawer = nullptr;
std::atomic<bool> Stopping{false};
CRITICAL_SECTION Lock;
BandPicture Latest{};
int Renders = 0;

DWORD CounterMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return DWORD(now.QuadPart * 1000 / frequency.QuadPart);
}

DWORD WINAPI DrawLoop(void* counter) {
    DWORD next = counter ? CounterMs() : timeGetTime();
    srand(next ^ GetCurrentThreadId());
    while (!Stopping) {
        next += PeriodMs;
        DWORD now;
        if (counter) {
            while (!Stopping && int(next - (now = CounterMs())) > 0) continue;
        } else {
            while (!Stopping && int(next - (now = timeGetTime())) > 0) Sleep(5);
        }
        EnterCriticalSection(&Lock);
        BandPicture picture = Latest;
        LeaveCriticalSection(&Lock);
        picture.colours[ProbeBands - 1] = RGB(now & 255, now >> 8 & 255, now >> 16 & 255);
        const int random = rand();
        picture.colours[ProbeBands - 2] = RGB(random & 255, random >> 8 & 255, 0);
        DrawBands(Child, picture);
    }
    return 0;
}

int32_t Start(winampVisModule* module, bool counter) {
    Child = MakeEmbedChild(module, Embed, Frame);
    if (!Child) return 1;
    InitializeCriticalSection(&Lock);
    Renders = 0;
    Latest = {};
    Stopping = false;
    Drawer = CreateThread(nullptr, 0, DrawLoop, counter ? &Embed : nullptr, 0, nullptr);
    return 0;
}

}  // namespace

int32_t VIS_CDECL SleepPacedInit(winampVisModule* module) { return Start(module, false); }
int32_t VIS_CDECL CounterPacedInit(winampVisModule* module) { return Start(module, true); }

int32_t VIS_CDECL PacedRender(winampVisModule* module) {
    EnterCriticalSection(&Lock);
    Latest = PictureOf(module, ++Renders);
    LeaveCriticalSection(&Lock);
    return IsWindow(Child) ? 0 : 1;
}

void VIS_CDECL PacedQuit(winampVisModule*) {
    Stopping = true;
    WaitForSingleObject(Drawer, INFINITE);
    CloseHandle(Drawer);
    DeleteCriticalSection(&Lock);
    DestroyWindow(Frame);
}
