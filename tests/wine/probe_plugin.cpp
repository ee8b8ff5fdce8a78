// probe_vis.dll: a visualization plug-in of the player's interface that
// reports how a host drives it. Every call is logged, one line each, to the
// file named by the environment variable PROBE_LOG. Its window shows in its
// first pixel what the last frame was made from:
//   red = waveformData[0][0], green = waveformData[1][0], blue 0x10 for a
//   frame from Render; red = ticks since the last Render, blue 0x20 for a
//   frame from its own timer while the host is not playing.
// Module 0 "Probe" works; module 1 "Probe failing Init" returns 1 from Init.
// The others misbehave as a player must survive: 2 faults in Init, 3 in its
// third Render, 4 in Quit, 6 in Config, and 5 returns 1 from its third Render;
// 7 starts a drawing thread in Init that faults at its 10th frame, 8 never
// returns from its 10th Render, 9 never from Init and 10 never from Quit.
#include <windows.h>

#include <atomic>

#include "plugin/records.h"
#include "tests/wine/probe_log.h"

namespace {

constexpr int Width = 32, Height = 8;
constexpr UINT_PTR TimerId = 7;

std::atomic<int> Renders{0};
HWND Window = nullptr;
winampVisModule* Running = nullptr;
int TicksSinceRender = 0;

unsigned long ThreadOf(HWND window) { return GetWindowThreadProcessId(window, nullptr); }

void Present(COLORREF colour) {
    HDC dc = GetDC(Window);
    RECT all = {0, 0, Width, Height};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ReleaseDC(Window, dc);
}

int32_t VIS_CDECL Render(winampVisModule* module) {
    const int w0 = static_cast<signed char>(module->waveformData[0][0]);
    const int w1 = static_cast<signed char>(module->waveformData[1][0]);
    ProbeLog("render thread=%lu w0=%d w1=%d", GetCurrentThreadId(), w0, w1);
    TicksSinceRender = 0;
    ++Renders;
    if (Window) Present(RGB(module->waveformData[0][0], module->waveformData[1][0], 0x10));
    return 0;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && Running) {
        const LRESULT answer = SendMessageA(reinterpret_cast<HWND>(Running->hwndParent), WM_USER, 0, 104);
        ProbeLog("tick answer=%d", int(answer));
        if (answer != 1) {
            TicksSinceRender = TicksSinceRender < 255 ? TicksSinceRender + 1 : 255;
            Present(RGB(TicksSinceRender, 0, 0x20));
        }
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int32_t VIS_CDECL Init(winampVisModule* module) {
    HWND parent = reinterpret_cast<HWND>(module->hwndParent);
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<const char*>(&Init), &self);
    RECT rect = {};
    GetWindowRect(parent, &rect);
    ProbeLog("init thread=%lu parent_thread=%lu instance_ok=%d rate=%d ch=%d user=%llx parent_size=%ldx%ld",
             GetCurrentThreadId(), ThreadOf(parent), reinterpret_cast<HMODULE>(module->hDllInstance) == self,
             int(module->sRate), int(module->nCh),
             static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(module->userData)), rect.right - rect.left,
             rect.bottom - rect.top);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = self;
    windowClass.lpszClassName = "ProbeVis";
    RegisterClassA(&windowClass);
    Window = CreateWindowExA(WS_EX_TOOLWINDOW, "ProbeVis", "Probe", WS_POPUP | WS_VISIBLE, 600, 600, Width, Height,
                             parent, nullptr, self, nullptr);
    Running = module;
    SetTimer(Window, TimerId, UINT(module->delayMs), nullptr);
    return Window ? 0 : 1;
}

int32_t VIS_CDECL FailingInit(winampVisModule*) {
    ProbeLog("failing init");
    return 1;
}

int RendersSinceInit = 0;

void Fault() {
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
}

int32_t VIS_CDECL FaultingInit(winampVisModule*) {
    ProbeLog("init faulting");
    Fault();
    return 0;
}

int32_t VIS_CDECL CountingInit(winampVisModule* module) {
    RendersSinceInit = 0;
    return Init(module);
}

int32_t VIS_CDECL FaultingRender(winampVisModule* module) {
    if (++RendersSinceInit == 3) {
        ProbeLog("render faulting");
        Fault();
    }
    return Render(module);
}

int32_t VIS_CDECL StoppingRender(winampVisModule* module) {
    if (++RendersSinceInit < 3) return Render(module);
    ProbeLog("render stopping");
    return 1;
}

void VIS_CDECL Quit(winampVisModule* module) {
    // A message to the player window during shut-down must not deadlock the host.
    const LRESULT answer = SendMessageA(reinterpret_cast<HWND>(module->hwndParent), WM_USER, 0, 104);
    ProbeLog("quit thread=%lu answer=%d", GetCurrentThreadId(), int(answer));
    Running = nullptr;
    if (Window) DestroyWindow(Window);
    Window = nullptr;
    UnregisterClassA("ProbeVis", GetModuleHandleA("probe_vis.dll"));
}

void VIS_CDECL FaultingQuit(winampVisModule* module) {
    Quit(module);
    ProbeLog("quit faulting");
    Fault();
}

void VIS_CDECL Config(winampVisModule* module) {
    HWND parent = reinterpret_cast<HWND>(module->hwndParent);
    const int before = Renders;
    ProbeLog("config thread=%lu parent_thread=%lu renders=%d", GetCurrentThreadId(), ThreadOf(parent), before);
    MessageBoxA(parent, "Probe configuration", "Probe", MB_OKCANCEL);
    ProbeLog("config closed renders_while_open=%d", Renders - before);
}

using Operation = int32_t(VIS_CDECL*)(winampVisModule*);

winampVisModule MakeModule(const char* name, Operation init, Operation render = Render,
                           void(VIS_CDECL* quit)(winampVisModule*) = Quit) {
    winampVisModule module{};
    module.description = name;
    module.latencyMs = 10;
    module.delayMs = 25;
    module.waveformNch = 2;
    module.Config = Config;
    module.Init = init;
    module.Render = render;
    module.Quit = quit;
    return module;
}

void VIS_CDECL FaultingConfig(winampVisModule*) {
    ProbeLog("config faulting");
    Fault();
}

// Calls that never return wait as a busy plug-in does, in short sleeps.
[[noreturn]] void Hang(const char* what) {
    ProbeLog("%s hanging", what);
    for (;;) Sleep(50);
}

DWORD WINAPI DrawThenFault(void*) {
    for (int frame = 1;; ++frame) {
        Sleep(25);
        if (frame == 10) {
            ProbeLog("drawing thread faulting thread=%lu", GetCurrentThreadId());
            Fault();
        }
    }
}

int32_t VIS_CDECL ThreadStartingInit(winampVisModule* module) {
    const int32_t result = Init(module);
    CloseHandle(CreateThread(nullptr, 0, DrawThenFault, nullptr, 0, nullptr));
    return result;
}

int32_t VIS_CDECL HangingRender(winampVisModule* module) {
    if (++RendersSinceInit == 10) Hang("render");
    return Render(module);
}

int32_t VIS_CDECL HangingInit(winampVisModule*) { Hang("init"); }

void VIS_CDECL HangingQuit(winampVisModule* module) {
    Quit(module);
    Hang("quit");
}

winampVisModule WithConfig(winampVisModule module, void(VIS_CDECL* config)(winampVisModule*)) {
    module.Config = config;
    return module;
}

winampVisModule Modules[] = {
    MakeModule("Probe", Init),
    MakeModule("Probe failing Init", FailingInit),
    MakeModule("Probe faulting Init", FaultingInit),
    MakeModule("Probe faulting Render", CountingInit, FaultingRender),
    MakeModule("Probe faulting Quit", Init, Render, FaultingQuit),
    MakeModule("Probe stopping Render", CountingInit, StoppingRender),
    WithConfig(MakeModule("Probe faulting Config", Init), FaultingConfig),
    MakeModule("Probe faulting drawing thread", ThreadStartingInit),
    MakeModule("Probe hanging Render", CountingInit, HangingRender),
    MakeModule("Probe hanging Init", HangingInit),
    MakeModule("Probe hanging Quit", Init, Render, HangingQuit),
};
constexpr int ModuleCount = sizeof Modules / sizeof Modules[0];

winampVisModule* VIS_CDECL GetModule(int32_t index) {
    return index >= 0 && index < ModuleCount ? &Modules[index] : nullptr;
}

winampVisHeader Header = {0x101, "Probe library", GetModule};

}  // namespace

// Logs the class of the window it is given: the player passes its main window.
extern "C" __declspec(dllexport) winampVisHeader* VIS_CDECL winampVisGetHeader(HWND player) {
    char name[64] = "none";
    if (player) GetClassNameA(player, name, sizeof name);
    ProbeLog("header player=%s thread=%lu", name, GetCurrentThreadId());
    return &Header;
}
