// The Direct3D 9 presents. Direct3DCreate9(Ex) hands out the Direct3D
// object, whose CreateDevice(Ex) is patched; the devices it makes have
// Present, Reset, their Ex forms, GetSwapChain, CreateAdditionalSwapChain and
// Release patched, their swap chains Present. Each present hands its back
// buffer to the capture before the platform presents it. The interfaces are
// reached through their method tables (CINTERFACE), which is what is patched.
#define CINTERFACE
#define COBJMACROS
#include <d3d9.h>

#include <cstddef>

#include "host/core/pixel_layout.h"
#include "host/win/critical_section.h"
#include "host/win/import_hooks.h"
#include "host/win/present_hooks.h"
#include "host/win/present_hub.h"
#include "host/win/vtable_patch.h"

namespace {

#define SLOT(Table, Method) int(offsetof(Table##Vtbl, Method) / sizeof(void*))
// A slot of Table and its hook, which must have the method's exact type.
#define HOOK(Table, Method, Hook) \
    VtableSlot { SLOT(Table, Method), reinterpret_cast<void*>(static_cast<decltype(Table##Vtbl::Method)>(Hook)) }
#define CALL_ORIGINAL(Table, Method, object, ...) \
    Original<decltype(Table##Vtbl::Method)>(object, SLOT(Table, Method))(object, __VA_ARGS__)

void* RealCreate9 = nullptr;
void* RealCreate9Ex = nullptr;

// Set while a present hook runs on this thread: a device's Present may go
// through its swap chain's, which is one present, not two.
thread_local bool Presenting = false;

// The system-memory copy of the last back buffer read, kept from one frame
// to the next. It holds a reference on its device.
struct BackBufferCopy {
    CriticalSection lock;
    IDirect3DDevice9* device = nullptr;
    IDirect3DSurface9* surface = nullptr;
    D3DSURFACE_DESC desc{};
};

BackBufferCopy& Copy() {
    static BackBufferCopy copy;
    return copy;
}

// Releases the copy when it belongs to `device` (any device when null).
// Returns whether it did; the release may re-enter the device's Release.
bool ReleaseCopy(IDirect3DDevice9* device) {
    Held locked(Copy().lock);
    if (!Copy().surface || (device && Copy().device != device)) return false;
    IDirect3DSurface9* surface = Copy().surface;
    Copy().surface = nullptr;
    Copy().device = nullptr;
    IDirect3DSurface9_Release(surface);
    return true;
}

bool LayoutOf(D3DFORMAT format, PixelLayout& layout) {
    switch (format) {
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8R8G8B8: layout = {4, 0xFF0000, 0xFF00, 0xFF}; return true;
    case D3DFMT_A2R10G10B10: layout = {4, 0x3FF00000, 0xFFC00, 0x3FF}; return true;
    case D3DFMT_R5G6B5: layout = {2, 0xF800, 0x07E0, 0x001F}; return true;
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5: layout = {2, 0x7C00, 0x03E0, 0x001F}; return true;
    default: return false;
    }
}

// Copies the render target `back` into the kept system-memory surface,
// made anew when the device, size or format changed, and converts it.
bool ReadRenderTarget(IDirect3DDevice9* device, IDirect3DSurface9* back, RgbImage& image) {
    D3DSURFACE_DESC desc;
    PixelLayout layout;
    if (FAILED(IDirect3DSurface9_GetDesc(back, &desc)) || !LayoutOf(desc.Format, layout)) return false;
    Held locked(Copy().lock);
    BackBufferCopy& copy = Copy();
    if (copy.surface && (copy.device != device || copy.desc.Width != desc.Width || copy.desc.Height != desc.Height ||
                         copy.desc.Format != desc.Format))
        ReleaseCopy(nullptr);
    if (!copy.surface) {
        if (FAILED(IDirect3DDevice9_CreateOffscreenPlainSurface(device, desc.Width, desc.Height, desc.Format,
                                                                D3DPOOL_SYSTEMMEM, &copy.surface, nullptr)))
            return false;
        copy.device = device;
        copy.desc = desc;
    }
    D3DLOCKED_RECT bits;
    if (FAILED(IDirect3DDevice9_GetRenderTargetData(device, back, copy.surface)) ||
        FAILED(IDirect3DSurface9_LockRect(copy.surface, &bits, nullptr, D3DLOCK_READONLY)))
        return false;
    const bool read = ConvertPixels(static_cast<const uint8_t*>(bits.pBits), bits.Pitch, int(desc.Width),
                                    int(desc.Height), layout, image);
    IDirect3DSurface9_UnlockRect(copy.surface);
    return read;
}

// What a present shows: the device and, for a swap chain's own Present,
// that swap chain (else the device's first).
struct PresentSource {
    IDirect3DDevice9* device;
    IDirect3DSwapChain9* chain;
};

bool ReadBackBuffer(void* context, RgbImage& image) {
    const PresentSource& source = *static_cast<const PresentSource*>(context);
    IDirect3DSurface9* back = nullptr;
    HRESULT hr = source.chain ? IDirect3DSwapChain9_GetBackBuffer(source.chain, 0, D3DBACKBUFFER_TYPE_MONO, &back)
                              : IDirect3DDevice9_GetBackBuffer(source.device, 0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    if (FAILED(hr) && !source.chain) hr = IDirect3DDevice9_GetRenderTarget(source.device, 0, &back);
    if (FAILED(hr) || !back) return false;
    const bool read = ReadRenderTarget(source.device, back, image);
    IDirect3DSurface9_Release(back);
    return read;
}

// The window a present goes to: the override, else the swap chain's device
// window, else the device's focus window.
HWND PresentWindow(IDirect3DDevice9* device, IDirect3DSwapChain9* chain, HWND override) {
    if (override) return override;
    HWND window = nullptr;
    IDirect3DSwapChain9* first = nullptr;
    if (!chain && SUCCEEDED(IDirect3DDevice9_GetSwapChain(device, 0, &first))) chain = first;
    D3DPRESENT_PARAMETERS parameters;
    if (chain && SUCCEEDED(IDirect3DSwapChain9_GetPresentParameters(chain, &parameters)))
        window = parameters.hDeviceWindow;
    if (first) IDirect3DSwapChain9_Release(first);
    D3DDEVICE_CREATION_PARAMETERS creation;
    if (!window && SUCCEEDED(IDirect3DDevice9_GetCreationParameters(device, &creation))) window = creation.hFocusWindow;
    return window;
}

void HandOver(IDirect3DDevice9* device, IDirect3DSwapChain9* chain, HWND override) {
    PresentSource source{device, chain};
    FramePresented(PresentKind::Direct3D, PresentWindow(device, chain, override), ReadBackBuffer, &source);
}

// A back buffer the capture can read: never multisampled, and of the size
// asked for (--size) when windowed.
void AdjustParameters(D3DPRESENT_PARAMETERS* parameters, bool sized) {
    if (!parameters) return;
    parameters->MultiSampleType = D3DMULTISAMPLE_NONE;
    parameters->MultiSampleQuality = 0;
    const SIZE size = RequestedBackBufferSize();
    if (sized && parameters->Windowed && size.cx > 0 && size.cy > 0) {
        parameters->BackBufferWidth = UINT(size.cx);
        parameters->BackBufferHeight = UINT(size.cy);
    }
}

HRESULT STDMETHODCALLTYPE ChainPresent(IDirect3DSwapChain9* chain, const RECT* from, const RECT* to, HWND window,
                                       const RGNDATA* dirty, DWORD flags) {
    if (Presenting) return CALL_ORIGINAL(IDirect3DSwapChain9, Present, chain, from, to, window, dirty, flags);
    Presenting = true;
    IDirect3DDevice9* device = nullptr;
    if (SUCCEEDED(IDirect3DSwapChain9_GetDevice(chain, &device))) {
        HandOver(device, chain, window);
        IDirect3DDevice9_Release(device);
    }
    const HRESULT hr = CALL_ORIGINAL(IDirect3DSwapChain9, Present, chain, from, to, window, dirty, flags);
    Presenting = false;
    return hr;
}

void PatchChain(IDirect3DSwapChain9* chain) {
    const VtableSlot slots[] = {HOOK(IDirect3DSwapChain9, Present, ChainPresent)};
    PatchVtable(chain, slots, 1);
}

HRESULT STDMETHODCALLTYPE DevicePresent(IDirect3DDevice9* device, const RECT* from, const RECT* to, HWND window,
                                        const RGNDATA* dirty) {
    if (Presenting) return CALL_ORIGINAL(IDirect3DDevice9, Present, device, from, to, window, dirty);
    Presenting = true;
    HandOver(device, nullptr, window);
    const HRESULT hr = CALL_ORIGINAL(IDirect3DDevice9, Present, device, from, to, window, dirty);
    Presenting = false;
    return hr;
}

HRESULT STDMETHODCALLTYPE DevicePresentEx(IDirect3DDevice9Ex* device, const RECT* from, const RECT* to, HWND window,
                                          const RGNDATA* dirty, DWORD flags) {
    if (Presenting) return CALL_ORIGINAL(IDirect3DDevice9Ex, PresentEx, device, from, to, window, dirty, flags);
    Presenting = true;
    HandOver(reinterpret_cast<IDirect3DDevice9*>(device), nullptr, window);
    const HRESULT hr = CALL_ORIGINAL(IDirect3DDevice9Ex, PresentEx, device, from, to, window, dirty, flags);
    Presenting = false;
    return hr;
}

// The copy goes before the device resets: a device keeps no resource of the
// plug-in's across a Reset, and the size may change.
HRESULT STDMETHODCALLTYPE DeviceReset(IDirect3DDevice9* device, D3DPRESENT_PARAMETERS* parameters) {
    ReleaseCopy(device);
    AdjustParameters(parameters, true);
    return CALL_ORIGINAL(IDirect3DDevice9, Reset, device, parameters);
}

HRESULT STDMETHODCALLTYPE DeviceResetEx(IDirect3DDevice9Ex* device, D3DPRESENT_PARAMETERS* parameters,
                                        D3DDISPLAYMODEEX* mode) {
    ReleaseCopy(reinterpret_cast<IDirect3DDevice9*>(device));
    AdjustParameters(parameters, true);
    return CALL_ORIGINAL(IDirect3DDevice9Ex, ResetEx, device, parameters, mode);
}

// When the copy holds the last reference, the plug-in has let the device go:
// the copy goes too, and with it the device.
ULONG STDMETHODCALLTYPE DeviceRelease(IDirect3DDevice9* device) {
    const ULONG left =
        Original<decltype(IDirect3DDevice9Vtbl::Release)>(device, SLOT(IDirect3DDevice9, Release))(device);
    return left == 1 && ReleaseCopy(device) ? 0 : left;
}

HRESULT STDMETHODCALLTYPE DeviceGetSwapChain(IDirect3DDevice9* device, UINT index, IDirect3DSwapChain9** chain) {
    const HRESULT hr = CALL_ORIGINAL(IDirect3DDevice9, GetSwapChain, device, index, chain);
    if (SUCCEEDED(hr) && chain && *chain) PatchChain(*chain);
    return hr;
}

HRESULT STDMETHODCALLTYPE DeviceCreateAdditionalSwapChain(IDirect3DDevice9* device, D3DPRESENT_PARAMETERS* parameters,
                                                          IDirect3DSwapChain9** chain) {
    AdjustParameters(parameters, false);
    const HRESULT hr = CALL_ORIGINAL(IDirect3DDevice9, CreateAdditionalSwapChain, device, parameters, chain);
    if (SUCCEEDED(hr) && chain && *chain) PatchChain(*chain);
    return hr;
}

void PatchDevice(IDirect3DDevice9* device, bool ex) {
    const VtableSlot slots[] = {
        HOOK(IDirect3DDevice9, Present, DevicePresent),
        HOOK(IDirect3DDevice9, Reset, DeviceReset),
        HOOK(IDirect3DDevice9, Release, DeviceRelease),
        HOOK(IDirect3DDevice9, GetSwapChain, DeviceGetSwapChain),
        HOOK(IDirect3DDevice9, CreateAdditionalSwapChain, DeviceCreateAdditionalSwapChain),
        HOOK(IDirect3DDevice9Ex, PresentEx, DevicePresentEx),
        HOOK(IDirect3DDevice9Ex, ResetEx, DeviceResetEx),
    };
    const int count = sizeof slots / sizeof slots[0];
    PatchVtable(device, slots, ex ? count : count - 2);
}

HRESULT STDMETHODCALLTYPE CreateDevice(IDirect3D9* direct3d, UINT adapter, D3DDEVTYPE type, HWND focus, DWORD flags,
                                       D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) {
    AdjustParameters(parameters, true);
    const HRESULT hr =
        CALL_ORIGINAL(IDirect3D9, CreateDevice, direct3d, adapter, type, focus, flags, parameters, device);
    if (SUCCEEDED(hr) && device && *device) PatchDevice(*device, false);
    return hr;
}

HRESULT STDMETHODCALLTYPE CreateDeviceEx(IDirect3D9Ex* direct3d, UINT adapter, D3DDEVTYPE type, HWND focus, DWORD flags,
                                         D3DPRESENT_PARAMETERS* parameters, D3DDISPLAYMODEEX* mode,
                                         IDirect3DDevice9Ex** device) {
    AdjustParameters(parameters, true);
    const HRESULT hr =
        CALL_ORIGINAL(IDirect3D9Ex, CreateDeviceEx, direct3d, adapter, type, focus, flags, parameters, mode, device);
    if (SUCCEEDED(hr) && device && *device) PatchDevice(reinterpret_cast<IDirect3DDevice9*>(*device), true);
    return hr;
}

IDirect3D9* WINAPI HookedDirect3DCreate9(UINT version) {
    IDirect3D9* direct3d = RealCreate9 ? reinterpret_cast<IDirect3D9*(WINAPI*)(UINT)>(RealCreate9)(version) : nullptr;
    const VtableSlot slots[] = {HOOK(IDirect3D9, CreateDevice, CreateDevice)};
    if (direct3d) PatchVtable(direct3d, slots, 1);
    return direct3d;
}

HRESULT WINAPI HookedDirect3DCreate9Ex(UINT version, IDirect3D9Ex** direct3d) {
    const HRESULT hr = RealCreate9Ex
                           ? reinterpret_cast<HRESULT(WINAPI*)(UINT, IDirect3D9Ex**)>(RealCreate9Ex)(version, direct3d)
                           : E_NOTIMPL;
    const VtableSlot slots[] = {HOOK(IDirect3D9, CreateDevice, CreateDevice),
                                HOOK(IDirect3D9Ex, CreateDeviceEx, CreateDeviceEx)};
    if (SUCCEEDED(hr) && direct3d && *direct3d) PatchVtable(*direct3d, slots, 2);
    return hr;
}

const ImportHook Hooks[] = {
    {"d3d9.dll", "Direct3DCreate9", reinterpret_cast<void*>(HookedDirect3DCreate9), &RealCreate9},
    {"d3d9.dll", "Direct3DCreate9Ex", reinterpret_cast<void*>(HookedDirect3DCreate9Ex), &RealCreate9Ex},
};

}  // namespace

void AddDirect3D9PresentHooks() { AddImportHooks(Hooks, sizeof Hooks / sizeof Hooks[0]); }
