// kind_probe.dll: one module for each way the player's plug-ins show their
// frames other than GDI within Render, each logging what it made to PROBE_LOG:
//   0 "Own thread": a child of the embed frame, drawn with GDI by a thread of
//     the probe's own; Render only hands that thread the samples;
//   1 "DirectDraw window": a window of its own, drawn with DirectDraw in
//     windowed mode through a clipper;
//   2 "DirectDraw full screen": exclusive mode at 640 x 480, page flips;
//   3 "Direct3D 9": a child of the embed frame, cleared band by band and
//     presented by a Direct3D 9 device, as MilkDrop 2 draws;
//   4 "Paced by sleeps": as 0, but the thread draws every 25 ms by
//     timeGetTime, sleeping between, and shows the time it drew at;
//   5 "Paced by the counter": as 4, spinning on QueryPerformanceCounter;
//   6 "OpenGL": a child of the embed frame with a GL context, cleared band
//     by band and presented with SwapBuffers.
#include "tests/wine/kind_probe.h"

namespace {

winampVisModule MakeModule(const char* name, int32_t(VIS_CDECL* init)(winampVisModule*),
                           int32_t(VIS_CDECL* render)(winampVisModule*), void(VIS_CDECL* quit)(winampVisModule*)) {
    winampVisModule module{};
    module.description = name;
    module.delayMs = 25;
    module.waveformNch = 2;
    module.Init = init;
    module.Render = render;
    module.Quit = quit;
    return module;
}

winampVisModule Modules[] = {
    MakeModule("Own thread", ThreadInit, ThreadRender, ThreadQuit),
    MakeModule("DirectDraw window", DirectDrawWindowInit, DirectDrawRender, DirectDrawQuit),
    MakeModule("DirectDraw full screen", DirectDrawFullScreenInit, DirectDrawRender, DirectDrawQuit),
    MakeModule("Direct3D 9", Direct3DInit, Direct3DRender, Direct3DQuit),
    MakeModule("Paced by sleeps", SleepPacedInit, PacedRender, PacedQuit),
    MakeModule("Paced by the counter", CounterPacedInit, PacedRender, PacedQuit),
    MakeModule("OpenGL", OpenGLInit, OpenGLRender, OpenGLQuit),
};

winampVisModule* VIS_CDECL GetModule(int32_t index) {
    return index >= 0 && index < int32_t(sizeof Modules / sizeof Modules[0]) ? &Modules[index] : nullptr;
}

winampVisHeader Header = {0x101, "Kind probe library", GetModule};

}  // namespace

extern "C" __declspec(dllexport) winampVisHeader* VIS_CDECL winampVisGetHeader(HWND) { return &Header; }
