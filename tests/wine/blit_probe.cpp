// blit_probe.dll: a plug-in that shows its frames as AVS does. It hands its
// child of the embed frame to DirectDraw (cooperative level, normal), draws
// each Render into a surface in system memory and copies that surface into
// the child with GDI. It imports DirectDraw and no 3D interface, so a host
// under Wine has to keep that window one GDI can draw into.
#include <ddraw.h>

#include "tests/wine/kind_probe.h"

namespace {

constexpr int Width = 152, Height = 103;  // AVS's half-size surface

HWND Frame = nullptr, Child = nullptr;
embedWindowState Embed{};
IDirectDraw* Draw = nullptr;
IDirectDrawSurface* Surface = nullptr;
int Renders = 0;

void Release() {
    if (Surface) Surface->Release();
    if (Draw) Draw->Release();
    if (Frame) DestroyWindow(Frame);
    Surface = nullptr, Draw = nullptr, Frame = Child = nullptr;
}

int32_t VIS_CDECL Init(winampVisModule* module) {
    Renders = 0;
    Child = MakeEmbedChild(module, Embed, Frame);
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    desc.dwWidth = Width;
    desc.dwHeight = Height;
    const bool started = Child && !ProbeFailed("create", DirectDrawCreate(nullptr, &Draw, nullptr)) &&
                         !ProbeFailed("cooperative level", Draw->SetCooperativeLevel(Child, DDSCL_NORMAL)) &&
                         !ProbeFailed("surface", Draw->CreateSurface(&desc, &Surface, nullptr));
    ProbeLog("blit init started=%d", started);
    if (!started) Release();
    return started ? 0 : 1;
}

int32_t VIS_CDECL Render(winampVisModule* module) {
    const BandPicture picture = PictureOf(module, ++Renders);
    HDC surface = nullptr;
    if (ProbeFailed("surface dc", Surface->GetDC(&surface))) return 0;
    for (int band = 0; band < ProbeBands; ++band) {
        const RECT r = {Width * band / ProbeBands, 0, Width * (band + 1) / ProbeBands, Height};
        HBRUSH brush = CreateSolidBrush(picture.colours[band]);
        FillRect(surface, &r, brush);
        DeleteObject(brush);
    }
    RECT client;
    GetClientRect(Child, &client);
    HDC window = GetDC(Child);
    StretchBlt(window, 0, 0, client.right, client.bottom, surface, 0, 0, Width, Height, SRCCOPY);
    ReleaseDC(Child, window);
    Surface->ReleaseDC(surface);
    return 0;
}

void VIS_CDECL Quit(winampVisModule*) { Release(); }

winampVisModule Module = {"Blit", nullptr, nullptr, 0, 0, 0, 25, 0, 2, {}, {}, nullptr, Init, Render, Quit, nullptr};

winampVisModule* VIS_CDECL GetModule(int32_t index) { return index == 0 ? &Module : nullptr; }

winampVisHeader Header = {0x101, "Blit probe library", GetModule};

}  // namespace

extern "C" __declspec(dllexport) winampVisHeader* VIS_CDECL winampVisGetHeader(HWND) { return &Header; }
