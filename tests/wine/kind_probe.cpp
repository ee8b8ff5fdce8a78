// kind_probe.dll: one module for each way the player's plug-ins show their
// frames other than GDI within Render, each logging what it made to PROBE_LOG:
//   0 "Own thread": a child of the embed frame, drawn with GDI by a thread of
//     the probe's own; Render only hands that thread the samples;
//   1 "DirectDraw window": a window of its own, drawn with DirectDraw in
//     windowed mode through a clipper;
//   2 "DirectDraw full screen": exclusive mode at 640 x 480, page flips;
//   3 "Direct3D 9": a child of the embed frame, cleared band by band and
//     presented by a Direct3D 9 device, as MilkDrop 2 draws.
#include "tests/wine/kind_probe.h"

BandPicture PictureOf(const winampVisModule* module, int render) {
    BandPicture picture;
    for (int band = 0; band < ProbeBands; ++band) {
        const int sample = module->waveformData[0][band * WaveformSamples / ProbeBands];
        picture.colours[band] = RGB(sample, (render * 37 + band * 16) & 0xFF, band * 32);
    }
    return picture;
}

HWND MakeEmbedChild(winampVisModule* module, embedWindowState& state, HWND& frame) {
    HWND player = reinterpret_cast<HWND>(module->hwndParent);
    HINSTANCE self = reinterpret_cast<HINSTANCE>(module->hDllInstance);
    const auto embed = reinterpret_cast<EmbedFunction>(SendMessageA(player, WM_USER, 0, PlayerQuery::EmbedInterface));
    state = {};
    state.r = {40, 40, 360, 280};
    frame = embed ? reinterpret_cast<HWND>(embed(&state)) : nullptr;
    HWND child = frame ? CreateWindowExA(0, ProbeWindowClass(self), "", WS_CHILD | WS_VISIBLE, 0, 0, 16, 16, frame,
                                         nullptr, self, nullptr)
                       : nullptr;
    ProbeLog("embed frame=%d child=%d", frame != nullptr, child != nullptr);
    if (child) SendMessageA(frame, EmbedShowNoActivate, 0, 0);
    else if (frame) DestroyWindow(frame);
    return child;
}

bool ProbeFailed(const char* step, long hr) {
    if (hr < 0) ProbeLog("%s failed hr=%08lx", step, static_cast<unsigned long>(hr));
    return hr < 0;
}

const char* ProbeWindowClass(HINSTANCE self) {
    static const char* const name = "KindProbe";
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = self;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);  // fails harmlessly once registered
    return name;
}

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
};

winampVisModule* VIS_CDECL GetModule(int32_t index) {
    return index >= 0 && index < int32_t(sizeof Modules / sizeof Modules[0]) ? &Modules[index] : nullptr;
}

winampVisHeader Header = {0x101, "Kind probe library", GetModule};

}  // namespace

extern "C" __declspec(dllexport) winampVisHeader* VIS_CDECL winampVisGetHeader(HWND) { return &Header; }
