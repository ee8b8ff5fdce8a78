#include "host/win/frame_capture.h"

namespace {

BOOL CALLBACK TakeVisible(HWND window, LPARAM found) {
    char name[8] = {};
    GetClassNameA(window, name, sizeof name);
    // Menus and dialogs (system classes begin with '#') are not the display.
    if (!IsWindowVisible(window) || name[0] == '#') return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

HWND FindThreadWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), TakeVisible, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool ReadWindowPixels(HWND window, RgbImage& image) {
    RECT client;
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return false;
    const int width = client.right, height = client.bottom;
    HDC windowDC = GetDC(window);
    if (!windowDC) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memoryDC = CreateCompatibleDC(windowDC);
    HBITMAP bitmap = CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = memoryDC && bitmap && bits;
    if (ok) {
        HGDIOBJ previous = SelectObject(memoryDC, bitmap);
        ok = BitBlt(memoryDC, 0, 0, width, height, windowDC, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memoryDC, previous);
    }
    if (ok) {
        image.width = width;
        image.height = height;
        image.pixels.resize(std::size_t(width) * height * 3);
        const auto* bgrx = static_cast<const uint8_t*>(bits);
        for (std::size_t i = 0; i < std::size_t(width) * height; ++i) {
            image.pixels[i * 3] = bgrx[i * 4 + 2];
            image.pixels[i * 3 + 1] = bgrx[i * 4 + 1];
            image.pixels[i * 3 + 2] = bgrx[i * 4];
        }
    }
    if (bitmap) DeleteObject(bitmap);
    if (memoryDC) DeleteDC(memoryDC);
    ReleaseDC(window, windowDC);
    return ok;
}
