#include "host/win/present_hub.h"
#include "host/win/critical_section.h"

#include "host/win/song_time.h"

namespace {

struct Hub {
    CriticalSection lock;
    HWND display = nullptr;
    bool awaiting = false;
    FrameSource taken = FrameSource::None;
    RgbImage image;
    HANDLE takenEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    SIZE backBuffer = {0, 0};
};

Hub& State() {
    static Hub hub;
    return hub;
}

// Holds the state's lock for a scope.
class Locked : public Held {
public:
    Locked() : Held(State().lock) {}
};

// A GDI copy counts when it goes to the display, to a window within it or
// to the frame around it; a 3D or DirectDraw present is the plug-in's own.
bool GoesToDisplay(PresentKind kind, HWND window, HWND display) {
    if (kind != PresentKind::Gdi || !window || !display) return true;
    return window == display || IsChild(display, window) || IsChild(window, display);
}

}  // namespace

bool PresentWanted(PresentKind kind) {
    if (!SongTimeRunning()) return false;  // live, or after the last frame
    // What the thread that renders draws with GDI or DirectDraw (within
    // Render, or painting between frames) is read from the window once the
    // plug-in's threads have had the frame.
    return !OnRenderingThread() || kind == PresentKind::Direct3D || kind == PresentKind::OpenGL;
}

void FramePresented(PresentKind kind, HWND window, PresentReader read, void* context) {
    if (!PresentWanted(kind)) return;
    const bool rendering = OnRenderingThread();
    {
        Locked locked;
        Hub& hub = State();
        if (!GoesToDisplay(kind, window, hub.display)) return;
        if (hub.awaiting && hub.taken == FrameSource::None) {
            if (read(context, hub.image)) {
                hub.taken = FrameSource::Present;
                hub.awaiting = false;
                SetEvent(hub.takenEvent);
            }
        }
    }
    if (!rendering) HoldPresenter();
}

SIZE RequestedBackBufferSize() {
    Locked locked;
    return State().backBuffer;
}

void SetRequestedBackBufferSize(SIZE size) {
    Locked locked;
    State().backBuffer = size;
}

void AwaitPresent(HWND display) {
    Locked locked;
    Hub& hub = State();
    hub.display = display;
    hub.awaiting = true;
    hub.taken = FrameSource::None;
    ResetEvent(hub.takenEvent);
}

FrameSource PresentTaken() {
    Locked locked;
    return State().taken;
}

HANDLE PresentTakenEvent() { return State().takenEvent; }

RgbImage& PresentedImage() { return State().image; }

void StopAwaitingPresent() {
    Locked locked;
    State().awaiting = false;
}
