// The DirectDraw modules: each Render fills an off-screen surface (windowed)
// or the back buffer (full screen) with the bands, then copies it to the
// window through a clipper or flips the pages.
#include <ddraw.h>

#include <initializer_list>

#include "tests/wine/kind_probe.h"

namespace {

HWND Window = nullptr;
IDirectDraw* Draw = nullptr;
IDirectDrawSurface *Primary = nullptr, *Back = nullptr;
IDirectDrawClipper* Clipper = nullptr;
bool FullScreen = false;
int Renders = 0;

// An 8-bit colour component placed in the bits of a pixel format's mask.
DWORD Place(unsigned value, DWORD mask) {
    if (!mask) return 0;
    int shift = 0, bits = 0;
    while (!(mask >> shift & 1)) ++shift;
    while (shift + bits < 32 && (mask >> (shift + bits) & 1)) ++bits;
    return bits >= 8 ? value << (shift + bits - 8) : (value >> (8 - bits)) << shift;
}

void FillBands(IDirectDrawSurface* surface, const BandPicture& picture) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    surface->GetSurfaceDesc(&desc);
    const DDPIXELFORMAT& format = desc.ddpfPixelFormat;
    for (int band = 0; band < ProbeBands; ++band) {
        const COLORREF colour = picture.colours[band];
        RECT r = {LONG(desc.dwWidth) * band / ProbeBands, 0, LONG(desc.dwWidth) * (band + 1) / ProbeBands,
                  LONG(desc.dwHeight)};
        DDBLTFX fx{};
        fx.dwSize = sizeof fx;
        fx.dwFillColor = Place(GetRValue(colour), format.dwRBitMask) | Place(GetGValue(colour), format.dwGBitMask) |
                         Place(GetBValue(colour), format.dwBBitMask);
        surface->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    }
}

bool StartWindowed(int width, int height) {
    DDSURFACEDESC primary{};
    primary.dwSize = sizeof primary;
    primary.dwFlags = DDSD_CAPS;
    primary.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    DDSURFACEDESC offscreen = primary;
    offscreen.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    offscreen.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    offscreen.dwWidth = width;
    offscreen.dwHeight = height;
    return !ProbeFailed("cooperative level", Draw->SetCooperativeLevel(Window, DDSCL_NORMAL)) &&
           !ProbeFailed("primary", Draw->CreateSurface(&primary, &Primary, nullptr)) &&
           !ProbeFailed("clipper", Draw->CreateClipper(0, &Clipper, nullptr)) &&
           !ProbeFailed("clipper window", Clipper->SetHWnd(0, Window)) &&
           !ProbeFailed("clip", Primary->SetClipper(Clipper)) &&
           !ProbeFailed("offscreen", Draw->CreateSurface(&offscreen, &Back, nullptr));
}

// 640 x 480 at 32 bits, else at 16, else whatever mode the screen has.
bool StartFullScreen() {
    if (ProbeFailed("cooperative level", Draw->SetCooperativeLevel(Window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN)))
        return false;
    HRESULT hr = Draw->SetDisplayMode(640, 480, 32);
    if (FAILED(hr)) hr = Draw->SetDisplayMode(640, 480, 16);
    ProbeFailed("display mode", hr);
    DDSURFACEDESC flipping{};
    flipping.dwSize = sizeof flipping;
    flipping.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    flipping.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    flipping.dwBackBufferCount = 1;
    DDSCAPS backCaps{DDSCAPS_BACKBUFFER};
    return !ProbeFailed("flipping primary", Draw->CreateSurface(&flipping, &Primary, nullptr)) &&
           !ProbeFailed("back buffer", Primary->GetAttachedSurface(&backCaps, &Back));
}

int32_t Start(winampVisModule* module, bool fullScreen) {
    HINSTANCE self = reinterpret_cast<HINSTANCE>(module->hDllInstance);
    FullScreen = fullScreen;
    Renders = 0;
    const int width = fullScreen ? 640 : 256, height = fullScreen ? 480 : 128;
    Window = CreateWindowExA(0, ProbeWindowClass(self), "DirectDraw probe", WS_POPUP | WS_VISIBLE, fullScreen ? 0 : 600,
                             fullScreen ? 0 : 100, width, height, nullptr, nullptr, self, nullptr);
    const bool started = Window && !ProbeFailed("create", DirectDrawCreate(nullptr, &Draw, nullptr)) &&
                         (fullScreen ? StartFullScreen() : StartWindowed(width, height));
    ProbeLog("ddraw init full_screen=%d started=%d screen=%dx%d", fullScreen, started, GetSystemMetrics(SM_CXSCREEN),
             GetSystemMetrics(SM_CYSCREEN));
    if (!started) DirectDrawQuit(module);
    return started ? 0 : 1;
}

}  // namespace

int32_t VIS_CDECL DirectDrawWindowInit(winampVisModule* module) { return Start(module, false); }
int32_t VIS_CDECL DirectDrawFullScreenInit(winampVisModule* module) { return Start(module, true); }

int32_t VIS_CDECL DirectDrawRender(winampVisModule* module) {
    FillBands(Back, PictureOf(module, ++Renders));
    if (FullScreen) {
        ProbeFailed("flip", Primary->Flip(nullptr, DDFLIP_WAIT));
    } else {
        RECT onScreen;
        GetClientRect(Window, &onScreen);
        MapWindowPoints(Window, nullptr, reinterpret_cast<POINT*>(&onScreen), 2);
        ProbeFailed("blt", Primary->Blt(&onScreen, Back, nullptr, DDBLT_WAIT, nullptr));
    }
    return 0;
}

void VIS_CDECL DirectDrawQuit(winampVisModule*) {
    if (Draw && FullScreen) {
        Draw->RestoreDisplayMode();
        Draw->SetCooperativeLevel(Window, DDSCL_NORMAL);
    }
    for (IUnknown* object : {static_cast<IUnknown*>(Back), static_cast<IUnknown*>(Clipper),
                             static_cast<IUnknown*>(Primary), static_cast<IUnknown*>(Draw)})
        if (object) object->Release();
    Back = Primary = nullptr;
    Clipper = nullptr;
    Draw = nullptr;
    if (Window) DestroyWindow(Window);
    Window = nullptr;
    ProbeLog("ddraw quit renders=%d", Renders);
}
