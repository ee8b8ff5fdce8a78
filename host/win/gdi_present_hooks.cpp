// GDI presents: a copy that covers most of the display window (BitBlt,
// StretchBlt, StretchDIBits, SetDIBitsToDevice, and Video for Windows'
// DrawDibDraw, which AVS presents with), or, for a plug-in that
// draws into the window directly, the end of its drawing (ReleaseDC,
// EndPaint) when no such copy went before it.
#include <windows.h>

#include <cstdlib>

#include "host/win/frame_capture.h"
#include "host/win/import_hooks.h"
#include "host/win/present_hooks.h"
#include "host/win/present_hub.h"

namespace {

// The DC a thread last presented by a copy: its release is no second present.
thread_local HDC CopiedInto = nullptr;

void* Platform[7];

bool ReadWindow(void* context, RgbImage& image) {
    static WindowReader reader;  // under the hub's lock
    return reader.Read(static_cast<HWND>(context), image);
}

void Present(HWND window) {
    if (window) FramePresented(PresentKind::Gdi, window, ReadWindow, window);
}

// A copy of at least half the window's client area is a picture, not a part of one.
void Copied(HDC dc, int width, int height) {
    if (!PresentWanted(PresentKind::Gdi)) return;
    HWND window = WindowFromDC(dc);
    RECT client;
    if (!window || !GetClientRect(window, &client)) return;
    const long long area = (long long)std::abs(width) * std::abs(height);
    if (2 * area < (long long)client.right * client.bottom) return;
    CopiedInto = dc;
    Present(window);
}

BOOL WINAPI HookBitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop) {
    const BOOL done = BitBlt(dc, x, y, width, height, source, sx, sy, rop);
    if (done) Copied(dc, width, height);
    return done;
}

BOOL WINAPI HookStretchBlt(HDC dc, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh,
                           DWORD rop) {
    const BOOL done = StretchBlt(dc, x, y, width, height, source, sx, sy, sw, sh, rop);
    if (done) Copied(dc, width, height);
    return done;
}

int WINAPI HookStretchDIBits(HDC dc, int x, int y, int width, int height, int sx, int sy, int sw, int sh,
                             const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    const int lines = StretchDIBits(dc, x, y, width, height, sx, sy, sw, sh, bits, info, usage, rop);
    if (lines > 0) Copied(dc, width, height);
    return lines;
}

int WINAPI HookSetDIBitsToDevice(HDC dc, int x, int y, DWORD width, DWORD height, int sx, int sy, UINT start,
                                 UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
    const int set = SetDIBitsToDevice(dc, x, y, width, height, sx, sy, start, lines, bits, info, usage);
    if (set > 0) Copied(dc, int(width), int(height));
    return set;
}

// Video for Windows' declaration, as msvfw32.dll exports it.
using DrawDibHandle = HANDLE;

BOOL WINAPI HookDrawDibDraw(DrawDibHandle drawDib, HDC dc, int x, int y, int width, int height,
                            BITMAPINFOHEADER* format, void* bits, int sx, int sy, int sw, int sh, UINT flags) {
    using DrawDibDraw =
        BOOL(WINAPI*)(DrawDibHandle, HDC, int, int, int, int, BITMAPINFOHEADER*, void*, int, int, int, int, UINT);
    auto draw = reinterpret_cast<DrawDibDraw>(Platform[6]);
    if (!draw) return FALSE;
    const BOOL done = draw(drawDib, dc, x, y, width, height, format, bits, sx, sy, sw, sh, flags);
    // A width or height of -1 draws the picture's own size.
    if (done && format) Copied(dc, width < 0 ? format->biWidth : width, height < 0 ? format->biHeight : height);
    return done;
}

void DrawingEnded(HWND window, HDC dc) {
    if (!PresentWanted(PresentKind::Gdi)) return;
    if (CopiedInto == dc) {
        CopiedInto = nullptr;
    } else {
        Present(window);
    }
}

int WINAPI HookReleaseDC(HWND window, HDC dc) {
    if (window) DrawingEnded(window, dc);
    return ReleaseDC(window, dc);
}

BOOL WINAPI HookEndPaint(HWND window, const PAINTSTRUCT* paint) {
    if (paint) DrawingEnded(window, paint->hdc);
    return EndPaint(window, paint);
}

const ImportHook Hooks[] = {
    {"gdi32.dll", "BitBlt", reinterpret_cast<void*>(HookBitBlt), &Platform[0]},
    {"gdi32.dll", "StretchBlt", reinterpret_cast<void*>(HookStretchBlt), &Platform[1]},
    {"gdi32.dll", "StretchDIBits", reinterpret_cast<void*>(HookStretchDIBits), &Platform[2]},
    {"gdi32.dll", "SetDIBitsToDevice", reinterpret_cast<void*>(HookSetDIBitsToDevice), &Platform[3]},
    {"user32.dll", "ReleaseDC", reinterpret_cast<void*>(HookReleaseDC), &Platform[4]},
    {"user32.dll", "EndPaint", reinterpret_cast<void*>(HookEndPaint), &Platform[5]},
    {"msvfw32.dll", "DrawDibDraw", reinterpret_cast<void*>(HookDrawDibDraw), &Platform[6]},
};

}  // namespace

void AddGdiPresentHooks() { AddImportHooks(Hooks, sizeof Hooks / sizeof Hooks[0]); }
