// What the probes of kind_probe.dll and blit_probe.dll share: the picture
// of a Render, the embed child, the window class and the log of failures.
#include "tests/wine/kind_probe.h"

BandPicture PictureOf(const winampVisModule* module, int render) {
    BandPicture picture;
    for (int band = 0; band < ProbeBands; ++band) {
        const int sample = module->waveformData[0][band * WaveformSamples / ProbeBands];
        picture.colours[band] = RGB(sample, (render * 37 + band * 16) & 0xFF, band * 32);
    }
    return picture;
}

HWND MakeEmbedChild(winampVisModule* module, embedWindowState& state, HWND& frame) {
    HWND player = reinterpret_cast<HWND>(module->hwndParent);
    HINSTANCE self = reinterpret_cast<HINSTANCE>(module->hDllInstance);
    const auto embed = reinterpret_cast<EmbedFunction>(SendMessageA(player, WM_USER, 0, PlayerQuery::EmbedInterface));
    state = {};
    state.r = {40, 40, 360, 280};
    frame = embed ? reinterpret_cast<HWND>(embed(&state)) : nullptr;
    HWND child = frame ? CreateWindowExA(0, ProbeWindowClass(self), "", WS_CHILD | WS_VISIBLE, 0, 0, 16, 16, frame,
                                         nullptr, self, nullptr)
                       : nullptr;
    ProbeLog("embed frame=%d child=%d", frame != nullptr, child != nullptr);
    if (child) SendMessageA(frame, EmbedShowNoActivate, 0, 0);
    else if (frame) DestroyWindow(frame);
    return child;
}

bool ProbeFailed(const char* step, long hr) {
    if (hr < 0) ProbeLog("%s failed hr=%08lx", step, static_cast<unsigned long>(hr));
    return hr < 0;
}

const char* ProbeWindowClass(HINSTANCE self) {
    static const char* const name = "KindProbe";
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = self;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);  // fails harmlessly once registered
    return name;
}

void DrawBands(HWND window, const BandPicture& picture) {
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    for (int band = 0; band < ProbeBands; ++band) {
        const RECT r = {client.right * band / ProbeBands, 0, client.right * (band + 1) / ProbeBands, client.bottom};
        HBRUSH brush = CreateSolidBrush(picture.colours[band]);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
    ReleaseDC(window, dc);
}
