#include "window/frame.h"

#include "plugin/plugin_state.h"
#include "window/geometry.h"
#include "window/window_state.h"

namespace {

bool HostMovedSinceDocking(const RECT& host) {
    // The right edge is left out: a player window that only changes width
    // keeps the plug-in window where it is.
    return Win.ForceDocking || host.left != Win.LastHostRect.left || host.top != Win.LastHostRect.top ||
           host.bottom != Win.LastHostRect.bottom;
}

}  // namespace

void PrepareFrame() {
    if (!Win.PluginWindow) return;
    RECT host;
    // A player window that is gone has no rectangle: keep position and size.
    if (GetWindowRect(Win.HostWindow, &host)) {
        Plugin.DoubleSize = host.right - host.left > DoubleSizeAboveWidth;
        UpdateWindowSize();
        if ((Plugin.DockMode & DockAttached) && HostMovedSinceDocking(host)) {
            PlaceDocked(host.left, host.top, host.bottom);
            MoveWindow(Win.PluginWindow, Plugin.WindowX, Plugin.WindowY, Plugin.WindowWidth, Plugin.WindowHeight,
                       TRUE);
            Win.LastHostRect = host;
            Win.ForceDocking = false;
        }
    }
    BitBlt(Win.CanvasDC, 0, 0, Plugin.WindowWidth, Plugin.WindowHeight, Win.SkinDC, 0, 0, SRCCOPY);
}

void ShowCanvas(HDC target) {
    if (Plugin.DoubleSize) {
        StretchBlt(target, 0, 0, Plugin.WindowWidth, Plugin.WindowHeight, Win.CanvasDC, 0, 0,
                   Plugin.WindowWidth >> 1, Plugin.WindowHeight >> 1, SRCCOPY);
    } else {
        BitBlt(target, 0, 0, Plugin.WindowWidth, Plugin.WindowHeight, Win.CanvasDC, 0, 0, SRCCOPY);
    }
}

void PresentFrame() {
    if (!Win.PluginWindow) return;
    HDC window = GetDC(Win.PluginWindow);
    ShowCanvas(window);
    ReleaseDC(Win.PluginWindow, window);
}
