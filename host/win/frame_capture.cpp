#include "host/win/frame_capture.h"

#include "host/core/pixel_layout.h"
#include "host/win/embed_frame.h"

namespace {

struct Search {
    HWND player;
    DWORD process;
    HWND found;
};

BOOL CALLBACK TakeVisible(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search.process || window == search.player || !IsWindowVisible(window)) return TRUE;
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    // Menus and dialogs (system classes begin with '#') are not the display.
    if (name[0] == '#' || lstrcmpA(name, EmbedFrameClass) == 0) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

HWND FindDisplayWindow(HWND named, HWND player) {
    if (named && IsWindow(named)) return named;
    if (HWND frame = FirstEmbedFrame()) {
        if (HWND child = GetWindow(frame, GW_CHILD)) return child;
    }
    Search search = {player, GetCurrentProcessId(), nullptr};
    EnumThreadWindows(GetCurrentThreadId(), TakeVisible, reinterpret_cast<LPARAM>(&search));
    if (!search.found) EnumWindows(TakeVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

WindowReader::~WindowReader() { Release(); }

void WindowReader::Release() {
    if (memoryDC_) SelectObject(memoryDC_, previous_), DeleteDC(memoryDC_);
    if (bitmap_) DeleteObject(bitmap_);
    memoryDC_ = nullptr, bitmap_ = nullptr, previous_ = nullptr, bits_ = nullptr;
    width_ = height_ = 0;
}

bool WindowReader::Read(HWND window, RgbImage& image) {
    RECT client;
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return false;
    const int width = client.right, height = client.bottom;
    if (width != width_ || height != height_) {
        Release();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        memoryDC_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(memoryDC_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (memoryDC_ && bitmap_ && bits_) {
            previous_ = SelectObject(memoryDC_, bitmap_);
            width_ = width, height_ = height;
        } else {
            Release();
            return false;
        }
    }
    // The window's own picture; where another thread holds the window's
    // surface (a plug-in drawing with GDI on a thread of its own), the same
    // pixels through its top-level window, then through the screen. A window
    // with a pixel format is drawn with OpenGL (Wine's Direct3D too): what
    // GDI cannot read of it, the top-level window shows black.
    bool ok = false;
    if (HDC dc = GetDCEx(window, nullptr, DCX_CACHE)) {
        ok = BitBlt(memoryDC_, 0, 0, width, height, dc, 0, 0, SRCCOPY) != 0;
        drawnWith3d_ = !ok && GetPixelFormat(dc) != 0;
        ReleaseDC(window, dc);
    }
    if (drawnWith3d_) return false;
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    POINT inRoot = origin;
    HWND root = GetAncestor(window, GA_ROOT);
    ScreenToClient(root, &inRoot);
    const struct {
        HWND from;
        POINT at;
    } others[] = {{root, inRoot}, {nullptr, origin}};
    for (const auto& other : others) {
        if (ok) break;
        HDC dc = GetDCEx(other.from, nullptr, DCX_CACHE);
        if (!dc) continue;
        ok = BitBlt(memoryDC_, 0, 0, width, height, dc, other.at.x, other.at.y, SRCCOPY) != 0;
        ReleaseDC(other.from, dc);
    }
    if (!ok) return false;
    GdiFlush();
    return ConvertPixels(static_cast<const uint8_t*>(bits_), long(width) * 4, width, height, PixelLayout{}, image);
}
