#include "window/drag.h"

#include <windowsx.h>

#include "window/plugin_instance.h"

namespace {

bool EndDrag() {
    if (!Plugin.Drag.Dragging) return false;
    Plugin.Drag.Dragging = false;
    ClipCursor(nullptr);
    return true;
}

}  // namespace

void DragPress(HWND window, LPARAM point) {
    Plugin.Drag = {true, {GET_X_LPARAM(point), GET_Y_LPARAM(point)}};
    SetCapture(window);
}

// Moves the window with the grab point held under the cursor, and keeps the
// cursor inside it until the button goes up.
bool DragMove(HWND window, WPARAM keys, LPARAM point) {
    if (!Plugin.Drag.Dragging || (Plugin.Settings.dockMode & DockAttached) || keys != MK_LBUTTON) return false;
    // Signed: under the capture a point left of or above the window is negative.
    POINT to = {GET_X_LPARAM(point) - Plugin.Drag.DragOrigin.x, GET_Y_LPARAM(point) - Plugin.Drag.DragOrigin.y};
    // A move to a client point taken for a screen one would bring the next
    // mouse move at once, and the window would jump back and forth.
    if (!ClientToScreen(window, &to)) return true;
    Plugin.Settings.x = to.x;
    Plugin.Settings.y = to.y;
    MoveWindow(window, to.x, to.y, Plugin.WindowWidth, Plugin.WindowHeight, TRUE);
    const RECT confine = {to.x, to.y, to.x + Plugin.WindowWidth, to.y + Plugin.WindowHeight};
    ClipCursor(&confine);
    return true;
}

bool DragRelease() {
    if (!EndDrag()) return false;
    // Its WM_CAPTURECHANGED finds the drag ended already.
    ReleaseCapture();
    return true;
}

void DragCaptureLost() { EndDrag(); }
