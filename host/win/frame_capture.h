// Reads back what the plug-in presented in its window.
#pragma once

#include <windows.h>

#include "host/core/png_frame.h"

// The plug-in's display, wherever it is: the window it named to the player
// (`named`, when it is one), else the first child of the first embed frame it
// asked for, else its own visible top-level window, on the calling thread
// (the visualization thread) before any other thread of the process. Menus,
// dialogs, embed frames and the player's window are never the display.
HWND FindDisplayWindow(HWND named, HWND player);

// Reads a window's client area as the screen shows it, keeping its surface
// from one frame to the next.
class WindowReader {
public:
    WindowReader() = default;
    WindowReader(const WindowReader&) = delete;
    WindowReader& operator=(const WindowReader&) = delete;
    ~WindowReader();
    // False when the window has no client area or cannot be read.
    bool Read(HWND window, RgbImage& image);
    // The last Read failed on a window drawn with Direct3D or OpenGL.
    bool DrawnWith3d() const { return drawnWith3d_; }

private:
    void Release();
    HDC memoryDC_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
    int width_ = 0, height_ = 0;
    bool drawnWith3d_ = false;
};
