// The "Direct3D 9" module: a device on a child of the embed frame, windowed
// with software vertex processing and a back buffer of the window's size;
// each Render clears the bands across the back buffer, below a black strip,
// and presents.
#include <d3d9.h>

#include "tests/wine/kind_probe.h"

namespace {

embedWindowState Embed;
HWND Frame = nullptr, Child = nullptr;
IDirect3D9* Direct3D = nullptr;
IDirect3DDevice9* Device = nullptr;
int Renders = 0;

}  // namespace

int32_t VIS_CDECL Direct3DInit(winampVisModule* module) {
    Renders = 0;
    Child = MakeEmbedChild(module, Embed, Frame);
    Direct3D = Child ? Direct3DCreate9(D3D_SDK_VERSION) : nullptr;
    D3DPRESENT_PARAMETERS present{};
    present.Windowed = TRUE;
    present.SwapEffect = D3DSWAPEFFECT_DISCARD;
    present.hDeviceWindow = Child;
    const bool started =
        Direct3D &&
        !ProbeFailed("d3d9 device", Direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, Child,
                                                           D3DCREATE_SOFTWARE_VERTEXPROCESSING, &present, &Device));
    ProbeLog("d3d9 init direct3d=%d started=%d", Direct3D != nullptr, started);
    if (!started) Direct3DQuit(module);
    return started ? 0 : 1;
}

int32_t VIS_CDECL Direct3DRender(winampVisModule* module) {
    const BandPicture picture = PictureOf(module, ++Renders);
    // The bands span the back buffer, whatever size the host gave it.
    D3DVIEWPORT9 view{};
    Device->GetViewport(&view);
    const LONG width = LONG(view.Width), height = LONG(view.Height);
    Device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    for (int band = 0; band < ProbeBands; ++band) {
        const COLORREF colour = picture.colours[band];
        const D3DRECT r = {width * band / ProbeBands, height / ProbeTopStrip, width * (band + 1) / ProbeBands, height};
        Device->Clear(1, &r, D3DCLEAR_TARGET, D3DCOLOR_XRGB(GetRValue(colour), GetGValue(colour), GetBValue(colour)),
                      1.0f, 0);
    }
    ProbeFailed("d3d9 present", Device->Present(nullptr, nullptr, nullptr, nullptr));
    return 0;
}

void VIS_CDECL Direct3DQuit(winampVisModule*) {
    if (Device) Device->Release();
    if (Direct3D) Direct3D->Release();
    Device = nullptr;
    Direct3D = nullptr;
    if (Frame) DestroyWindow(Frame);
    Frame = Child = nullptr;
    ProbeLog("d3d9 quit renders=%d", Renders);
}
