// The "Own thread" module: as AVS does, Render hands the samples to a thread
// of the probe's own, which draws into a child of the player's embed frame
// whenever new samples come and at least every 40 ms.
#include <atomic>

#include "tests/wine/kind_probe.h"

namespace {

embedWindowState Embed;
HWND Frame = nullptr, Child = nullptr;
HANDLE NewSamples = nullptr, Drawer = nullptr;
std::atomic<bool> Stopping{false};
CRITICAL_SECTION Lock;
BandPicture Latest{};
int Renders = 0;
std::atomic<int> Drawn{0};

DWORD WINAPI DrawLoop(void*) {
    while (!Stopping) {
        WaitForSingleObject(NewSamples, 40);
        EnterCriticalSection(&Lock);
        const BandPicture picture = Latest;
        LeaveCriticalSection(&Lock);
        DrawBands(Child, picture);
        if (Drawn++ == 0) ProbeLog("thread draws thread=%lu", GetCurrentThreadId());
    }
    return 0;
}

}  // namespace

int32_t VIS_CDECL ThreadInit(winampVisModule* module) {
    Child = MakeEmbedChild(module, Embed, Frame);
    if (!Child) return 1;
    InitializeCriticalSection(&Lock);
    Renders = Drawn = 0;
    Stopping = false;
    NewSamples = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    Drawer = CreateThread(nullptr, 0, DrawLoop, nullptr, 0, nullptr);
    return 0;
}

int32_t VIS_CDECL ThreadRender(winampVisModule* module) {
    if (Renders == 0) ProbeLog("thread renders thread=%lu", GetCurrentThreadId());
    EnterCriticalSection(&Lock);
    Latest = PictureOf(module, ++Renders);
    LeaveCriticalSection(&Lock);
    SetEvent(NewSamples);
    return IsWindow(Child) ? 0 : 1;  // the module ends once its window is closed
}

void VIS_CDECL ThreadQuit(winampVisModule*) {
    Stopping = true;
    SetEvent(NewSamples);
    WaitForSingleObject(Drawer, INFINITE);
    CloseHandle(Drawer);
    CloseHandle(NewSamples);
    DeleteCriticalSection(&Lock);
    DestroyWindow(Frame);
    ProbeLog("thread quit renders=%d drawn=%d", Renders, int(Drawn));
}
