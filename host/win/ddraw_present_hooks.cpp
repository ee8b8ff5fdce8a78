// The DirectDraw presents. DirectDrawCreate(Ex) hands out the DirectDraw
// object, whose QueryInterface, CreateSurface and SetCooperativeLevel are
// patched in every interface version the plug-in reaches; its surfaces have
// QueryInterface, Flip, Blt and BltFast patched. A Flip of the primary
// surface, or a copy from another surface onto it, is a present: after the
// platform's call the capture gets the flipped primary, or the part of the
// source that was copied.
//
// The versions' methods sit in the same slots and differ only in which
// version's pointers and records they take, so one hook, written with the
// version 7 types, serves every version; the records it fills are sized
// for the version the table was patched as.
#define CINTERFACE
#define COBJMACROS
#include <initguid.h>  // the interfaces' ids, defined here
//
#include <ddraw.h>

#include <cstddef>

#include "host/core/pixel_layout.h"
#include "host/win/import_hooks.h"
#include "host/win/present_hooks.h"
#include "host/win/present_hub.h"
#include "host/win/vtable_patch.h"

namespace {

#define SLOT(Table, Method) int(offsetof(Table##Vtbl, Method) / sizeof(void*))
#define SAME_SLOT(Older, Newer, Method) \
    static_assert(SLOT(Older, Method) == SLOT(Newer, Method), #Method " moved between versions")
SAME_SLOT(IDirectDraw, IDirectDraw7, CreateSurface);
SAME_SLOT(IDirectDraw, IDirectDraw7, SetCooperativeLevel);
SAME_SLOT(IDirectDrawSurface, IDirectDrawSurface7, Blt);
SAME_SLOT(IDirectDrawSurface, IDirectDrawSurface7, BltFast);
SAME_SLOT(IDirectDrawSurface, IDirectDrawSurface7, Flip);
SAME_SLOT(IDirectDrawSurface, IDirectDrawSurface7, GetCaps);
SAME_SLOT(IDirectDrawSurface, IDirectDrawSurface7, GetClipper);
SAME_SLOT(IDirectDrawSurface, IDirectDrawSurface7, GetPalette);
SAME_SLOT(IDirectDrawSurface, IDirectDrawSurface7, Lock);
SAME_SLOT(IDirectDrawSurface, IDirectDrawSurface7, Unlock);

#define CALL_ORIGINAL(Table, Method, object, ...) \
    Original<decltype(Table##Vtbl::Method)>(object, SLOT(Table, Method))(object, __VA_ARGS__)

void* RealDirectDrawCreate = nullptr;
void* RealDirectDrawCreateEx = nullptr;

// The window the plug-in last gave SetCooperativeLevel: where a full-screen
// plug-in's flips go.
HWND CooperativeWindow = nullptr;

thread_local bool Presenting = false;

// The tags of the patched tables: DirectDraw and surface versions.
constexpr int DrawTag = 0, SurfaceTag = 10;

int DrawVersion(REFIID iid) {
    if (iid == IID_IDirectDraw) return 1;
    if (iid == IID_IDirectDraw2) return 2;
    if (iid == IID_IDirectDraw4) return 4;
    if (iid == IID_IDirectDraw7) return 7;
    return 0;
}

int SurfaceVersion(REFIID iid) {
    if (iid == IID_IDirectDrawSurface) return 1;
    if (iid == IID_IDirectDrawSurface2) return 2;
    if (iid == IID_IDirectDrawSurface3) return 3;
    if (iid == IID_IDirectDrawSurface4) return 4;
    if (iid == IID_IDirectDrawSurface7) return 7;
    return 0;
}

// A surface's version as patched; the other surface's when not known.
int VersionOf(IDirectDrawSurface7* surface, IDirectDrawSurface7* other) {
    int tag = VtableTag(surface);
    if (tag < SurfaceTag) tag = VtableTag(other);
    return tag > SurfaceTag ? tag - SurfaceTag : 7;
}

// DDSURFACEDESC and DDSURFACEDESC2 agree up to the pixel format.
DWORD DescSize(int version) { return version >= 4 ? sizeof(DDSURFACEDESC2) : sizeof(DDSURFACEDESC); }

bool IsPrimary(IDirectDrawSurface7* surface) {
    DDSCAPS2 caps{};  // a version 1 to 3 surface fills its first member only
    return SUCCEEDED(IDirectDrawSurface7_GetCaps(surface, &caps)) && (caps.dwCaps & DDSCAPS_PRIMARYSURFACE);
}

HWND PresentWindow(IDirectDrawSurface7* primary) {
    IDirectDrawClipper* clipper = nullptr;
    HWND window = nullptr;
    if (SUCCEEDED(IDirectDrawSurface7_GetClipper(primary, &clipper)) && clipper) {
        IDirectDrawClipper_GetHWnd(clipper, &window);
        IDirectDrawClipper_Release(clipper);
    }
    return window ? window : CooperativeWindow;
}

// The entries of the palette of `surface`, else of `primary`, as RGB.
bool PaletteOf(IDirectDrawSurface7* surface, IDirectDrawSurface7* primary, uint8_t (&rgb)[256][3]) {
    IDirectDrawPalette* palette = nullptr;
    if (FAILED(IDirectDrawSurface7_GetPalette(surface, &palette)) &&
        (!primary || FAILED(IDirectDrawSurface7_GetPalette(primary, &palette))))
        return false;
    PALETTEENTRY entries[256] = {};
    const bool got = SUCCEEDED(IDirectDrawPalette_GetEntries(palette, 0, 0, 256, entries));
    IDirectDrawPalette_Release(palette);
    for (int i = 0; i < 256; ++i)
        rgb[i][0] = entries[i].peRed, rgb[i][1] = entries[i].peGreen, rgb[i][2] = entries[i].peBlue;
    return got;
}

bool LayoutOf(const DDPIXELFORMAT& format, PixelLayout& layout) {
    if (format.dwFlags & DDPF_PALETTEINDEXED8) {
        layout.bytesPerPixel = 1;
        return true;
    }
    if (!(format.dwFlags & DDPF_RGB) || format.dwRGBBitCount % 8) return false;
    layout = {int(format.dwRGBBitCount / 8), format.dwRBitMask, format.dwGBitMask, format.dwBBitMask};
    return true;
}

// What was presented: `area` of `surface` (all of it when empty), of the
// given version; `primary` lends its palette.
struct PresentedArea {
    IDirectDrawSurface7* surface;
    int version;
    RECT area;
    IDirectDrawSurface7* primary;
};

bool ReadSurface(void* context, RgbImage& image) {
    const PresentedArea& presented = *static_cast<const PresentedArea*>(context);
    DDSURFACEDESC2 desc{};
    desc.dwSize = DescSize(presented.version);
    if (FAILED(IDirectDrawSurface7_Lock(presented.surface, nullptr, &desc, DDLOCK_READONLY | DDLOCK_WAIT, nullptr)))
        return false;
    RECT area = presented.area;
    const RECT whole = {0, 0, LONG(desc.dwWidth), LONG(desc.dwHeight)};
    if (IsRectEmpty(&area) || !IntersectRect(&area, &area, &whole)) area = whole;
    PixelLayout layout;
    static uint8_t palette[256][3];  // only the presenting thread reads
    bool read = LayoutOf(desc.ddpfPixelFormat, layout) &&
                (layout.bytesPerPixel > 1 || PaletteOf(presented.surface, presented.primary, palette));
    if (layout.bytesPerPixel == 1) layout.palette = palette;
    const uint8_t* top =
        static_cast<const uint8_t*>(desc.lpSurface) + area.top * desc.lPitch + area.left * layout.bytesPerPixel;
    read = read && ConvertPixels(top, desc.lPitch, area.right - area.left, area.bottom - area.top, layout, image);
    // Version 1 to 3 surfaces take the locked memory back, later ones a rectangle.
    IDirectDrawSurface7_Unlock(presented.surface,
                               presented.version >= 4 ? nullptr : static_cast<RECT*>(desc.lpSurface));
    return read;
}

void HandOver(IDirectDrawSurface7* primary, IDirectDrawSurface7* surface, int version, const RECT* area) {
    PresentedArea presented{surface, version, area ? *area : RECT{}, primary};
    FramePresented(PresentKind::DirectDraw, PresentWindow(primary), ReadSurface, &presented);
}

void PatchSurface(void* surface, int version);

HRESULT STDMETHODCALLTYPE SurfaceQueryInterface(IDirectDrawSurface7* surface, REFIID iid, void** out) {
    const HRESULT hr = CALL_ORIGINAL(IDirectDrawSurface7, QueryInterface, surface, iid, out);
    if (SUCCEEDED(hr) && out && *out && SurfaceVersion(iid)) PatchSurface(*out, SurfaceVersion(iid));
    return hr;
}

HRESULT STDMETHODCALLTYPE SurfaceFlip(IDirectDrawSurface7* surface, IDirectDrawSurface7* target, DWORD flags) {
    if (Presenting) return CALL_ORIGINAL(IDirectDrawSurface7, Flip, surface, target, flags);
    Presenting = true;
    const HRESULT hr = CALL_ORIGINAL(IDirectDrawSurface7, Flip, surface, target, flags);
    // The primary now shows what was its back buffer.
    if (SUCCEEDED(hr) && IsPrimary(surface)) HandOver(surface, surface, VersionOf(surface, nullptr), nullptr);
    Presenting = false;
    return hr;
}

HRESULT STDMETHODCALLTYPE SurfaceBlt(IDirectDrawSurface7* surface, RECT* to, IDirectDrawSurface7* source, RECT* from,
                                     DWORD flags, DDBLTFX* effects) {
    if (Presenting) return CALL_ORIGINAL(IDirectDrawSurface7, Blt, surface, to, source, from, flags, effects);
    Presenting = true;
    const HRESULT hr = CALL_ORIGINAL(IDirectDrawSurface7, Blt, surface, to, source, from, flags, effects);
    if (SUCCEEDED(hr) && source && source != surface && IsPrimary(surface))
        HandOver(surface, source, VersionOf(source, surface), from);
    Presenting = false;
    return hr;
}

HRESULT STDMETHODCALLTYPE SurfaceBltFast(IDirectDrawSurface7* surface, DWORD x, DWORD y, IDirectDrawSurface7* source,
                                         RECT* from, DWORD flags) {
    if (Presenting) return CALL_ORIGINAL(IDirectDrawSurface7, BltFast, surface, x, y, source, from, flags);
    Presenting = true;
    const HRESULT hr = CALL_ORIGINAL(IDirectDrawSurface7, BltFast, surface, x, y, source, from, flags);
    if (SUCCEEDED(hr) && source && source != surface && IsPrimary(surface))
        HandOver(surface, source, VersionOf(source, surface), from);
    Presenting = false;
    return hr;
}

void PatchSurface(void* surface, int version) {
    const VtableSlot slots[] = {
        {SLOT(IDirectDrawSurface7, QueryInterface), reinterpret_cast<void*>(SurfaceQueryInterface)},
        {SLOT(IDirectDrawSurface7, Flip), reinterpret_cast<void*>(SurfaceFlip)},
        {SLOT(IDirectDrawSurface7, Blt), reinterpret_cast<void*>(SurfaceBlt)},
        {SLOT(IDirectDrawSurface7, BltFast), reinterpret_cast<void*>(SurfaceBltFast)},
    };
    PatchVtable(surface, slots, sizeof slots / sizeof slots[0], SurfaceTag + version);
}

void PatchDraw(void* draw, int version);

HRESULT STDMETHODCALLTYPE DrawQueryInterface(IDirectDraw7* draw, REFIID iid, void** out) {
    const HRESULT hr = CALL_ORIGINAL(IDirectDraw7, QueryInterface, draw, iid, out);
    if (SUCCEEDED(hr) && out && *out && DrawVersion(iid)) PatchDraw(*out, DrawVersion(iid));
    return hr;
}

HRESULT STDMETHODCALLTYPE DrawCreateSurface(IDirectDraw7* draw, DDSURFACEDESC2* desc, IDirectDrawSurface7** surface,
                                            IUnknown* outer) {
    const HRESULT hr = CALL_ORIGINAL(IDirectDraw7, CreateSurface, draw, desc, surface, outer);
    // DirectDraw and DirectDraw2 make version 1 surfaces; 4 and 7 their own.
    const int version = VtableTag(draw) - DrawTag;
    if (SUCCEEDED(hr) && surface && *surface) PatchSurface(*surface, version >= 4 ? version : 1);
    return hr;
}

HRESULT STDMETHODCALLTYPE DrawSetCooperativeLevel(IDirectDraw7* draw, HWND window, DWORD flags) {
    const HRESULT hr = CALL_ORIGINAL(IDirectDraw7, SetCooperativeLevel, draw, window, flags);
    if (SUCCEEDED(hr) && window) CooperativeWindow = window;
    return hr;
}

void PatchDraw(void* draw, int version) {
    const VtableSlot slots[] = {
        {SLOT(IDirectDraw7, QueryInterface), reinterpret_cast<void*>(DrawQueryInterface)},
        {SLOT(IDirectDraw7, CreateSurface), reinterpret_cast<void*>(DrawCreateSurface)},
        {SLOT(IDirectDraw7, SetCooperativeLevel), reinterpret_cast<void*>(DrawSetCooperativeLevel)},
    };
    PatchVtable(draw, slots, sizeof slots / sizeof slots[0], DrawTag + version);
}

HRESULT WINAPI HookedDirectDrawCreate(GUID* driver, IDirectDraw** draw, IUnknown* outer) {
    const HRESULT hr = RealDirectDrawCreate ? reinterpret_cast<HRESULT(WINAPI*)(GUID*, IDirectDraw**, IUnknown*)>(
                                                  RealDirectDrawCreate)(driver, draw, outer)
                                            : DDERR_GENERIC;
    if (SUCCEEDED(hr) && draw && *draw) PatchDraw(*draw, 1);
    return hr;
}

HRESULT WINAPI HookedDirectDrawCreateEx(GUID* driver, void** draw, REFIID iid, IUnknown* outer) {
    const HRESULT hr = RealDirectDrawCreateEx ? reinterpret_cast<HRESULT(WINAPI*)(GUID*, void**, REFIID, IUnknown*)>(
                                                    RealDirectDrawCreateEx)(driver, draw, iid, outer)
                                              : DDERR_GENERIC;
    if (SUCCEEDED(hr) && draw && *draw && DrawVersion(iid)) PatchDraw(*draw, DrawVersion(iid));
    return hr;
}

const ImportHook Hooks[] = {
    {"ddraw.dll", "DirectDrawCreate", reinterpret_cast<void*>(HookedDirectDrawCreate), &RealDirectDrawCreate},
    {"ddraw.dll", "DirectDrawCreateEx", reinterpret_cast<void*>(HookedDirectDrawCreateEx), &RealDirectDrawCreateEx},
};

}  // namespace

void AddDirectDrawPresentHooks() { AddImportHooks(Hooks, sizeof Hooks / sizeof Hooks[0]); }
