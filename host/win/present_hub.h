// Where a plug-in's presents meet the capture: each present hook hands over
// the picture being presented, on the thread that presents, and the capture
// takes it as the frame it awaits. A plug-in thread that presented the frame
// waits in its present until the next frame has been rendered, so that one
// present is one frame whatever the machine's speed.
#pragma once

#include <windows.h>

#include "host/core/png_frame.h"

enum class PresentKind { Gdi, DirectDraw, Direct3D, OpenGL };

// Reads what is being presented into `image` (rows top to bottom, RGB);
// false when it cannot.
using PresentReader = bool (*)(void* context, RgbImage& image);

// Called by a present hook, for a present into `window` (the window the
// picture goes to; null when the hook cannot tell). A 3D present calls it
// before the platform presents (the back buffer still holds the picture),
// a GDI or DirectDraw one after. `read` is called only when the capture
// awaits a frame from this present, and at most once.
void FramePresented(PresentKind kind, HWND window, PresentReader read, void* context);

// Whether a present of this kind on the calling thread would be taken now:
// a hook may skip what it would look up only to hand it over.
bool PresentWanted(PresentKind kind);

// The size a Direct3D or OpenGL back buffer of the plug-in is to have
// (--size), or 0 x 0 for the plug-in's own choice.
SIZE RequestedBackBufferSize();

// The capture's side, on the visualization thread.
enum class FrameSource {
    None,     // no present gave it: the window as it stands is the frame
    Present,  // read at the present: PresentedImage()
};
// From here the first present into `display` (or into no window the hook
// can tell) is the frame.
void AwaitPresent(HWND display);
// Whether the frame awaited was presented, and how; once it was, presents
// go on to the next frame.
FrameSource PresentTaken();
// Set when a present was taken; for the capture to wait on.
HANDLE PresentTakenEvent();
// The picture of a frame taken at its present, until the next AwaitPresent.
RgbImage& PresentedImage();
// Stops awaiting a frame that no present gave.
void StopAwaitingPresent();
void SetRequestedBackBufferSize(SIZE size);
