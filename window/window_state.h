// Process-wide platform state of the plug-in window: the handles that start-up
// makes and shut-down releases, and the player window it docks to.
#pragma once

#include <windows.h>

struct WindowState {
    HWND HostWindow = nullptr;
    HWND PluginWindow = nullptr;
    HMENU PopupMenu = nullptr;
    RECT LastHostRect = {};
    POINT DragOrigin = {};

    HDC CanvasDC = nullptr;
    HDC SkinDC = nullptr;
    HBITMAP CanvasBitmap = nullptr;
    HBITMAP PristineBitmap = nullptr;
    HBRUSH BlackBrush = nullptr;
    // What each surface held before our objects were selected into it.
    HGDIOBJ CanvasSavedBitmap = nullptr;
    HGDIOBJ CanvasSavedBrush = nullptr;
    HGDIOBJ SkinSavedBitmap = nullptr;

    // A window that shut-down could not destroy, detached from the plug-in.
    HWND LeftoverWindow = nullptr;
    // The instance the window class was registered for, while it is.
    HINSTANCE ClassInstance = nullptr;
    // Set by a confirmed configuration: the next frame docks anew whatever
    // the player window's rectangle is.
    bool ForceDocking = false;
};

constexpr UINT_PTR RenderTimerId = 1001;
extern const char PluginWindowClass[];

extern WindowState Win;
