// The present hooks on kind_probe.dll's modules, loaded into this program
// with its imports patched: every Render's present reaches the capture once,
// of its kind, into the right window, and what the reader gives is the
// picture that Render drew, at the back buffer's size. The capture here is a
// stand-in that reads every present.
#include <gtest/gtest.h>
#include <windows.h>

#include "host/win/import_hooks.h"
#include "host/win/present_hooks.h"
#include "host/win/present_hub.h"
#include "plugin/player_protocol.h"
#include "tests/wine/fake_player.h"
#include "tests/wine/kind_probe.h"

namespace {

struct Present {
    PresentKind kind;
    HWND window;
    bool read;
};

struct StandInHub {
    SIZE backBuffer{};
    std::vector<Present> presents;
    RgbImage image;
} Hub;

}  // namespace

void FramePresented(PresentKind kind, HWND window, PresentReader read, void* context) {
    Hub.presents.push_back({kind, window, read(context, Hub.image)});
}

SIZE RequestedBackBufferSize() { return Hub.backBuffer; }

namespace {

HWND Frame = nullptr;

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == EmbedShowNoActivate) {
        RECT client;
        GetClientRect(window, &client);
        SetWindowPos(GetWindow(window, GW_CHILD), nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND__* VIS_CDECL Embed(embedWindowState* state) {
    WNDCLASSA frameClass{};
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = GetModuleHandleA(nullptr);
    frameClass.lpszClassName = "PresentTestFrame";
    RegisterClassA(&frameClass);
    Frame = CreateWindowExA(0, "PresentTestFrame", "", WS_POPUP, state->r.left, state->r.top,
                            state->r.right - state->r.left, state->r.bottom - state->r.top, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    return state->me = Frame;
}

LRESULT CALLBACK PlayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER && wParam == 0 && lParam == PlayerQuery::EmbedInterface)
        return reinterpret_cast<LRESULT>(&Embed);
    return DefWindowProcA(window, message, wParam, lParam);
}

// kind_probe.dll, loaded once, its imports pointed at the present hooks.
HMODULE Probe() {
    static HMODULE probe = [] {
        AddDirect3D9PresentHooks();
        AddOpenGLPresentHooks();
        AddDirectDrawPresentHooks();
        HMODULE library = LoadLibraryA("kind_probe.dll");
        if (library) HookPluginModules(library);
        return library;
    }();
    return probe;
}

// The Render a frame shows (as host_capture_kinds_test reads it).
int RenderShown(const RgbImage& image) {
    const std::size_t i = (std::size_t(image.height / 2) * image.width + image.width / 16) * 3;
    return image.pixels[i + 1] * 173 % 256;
}

int Blue(const RgbImage& image, int x, int y) { return image.pixels[(std::size_t(y) * image.width + x) * 3 + 2]; }

struct HookCase {
    int module;
    PresentKind kind;
    SIZE backBuffer;    // asked for (--size)
    int width, height;  // 0: the display window's client area
};

TEST(PresentHooks, EveryRenderIsOnePresentOfItsPicture) {
    const HookCase cases[] = {
        {1, PresentKind::DirectDraw, {}, 256, 128},
        {2, PresentKind::DirectDraw, {}, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
        {3, PresentKind::Direct3D, {}, 0, 0},
        {6, PresentKind::OpenGL, {}, 0, 0},
        // The size asked for is Direct3D's alone. (host_capture_3d_test asks
        // it of Direct3D, one device a process: under qemu, Mesa's llvmpipe
        // faults presenting a scaled back buffer after another device.)
        {6, PresentKind::OpenGL, {160, 120}, 0, 0},
    };
    HMODULE probe = Probe();
    ASSERT_NE(probe, nullptr);
    const auto getHeader = reinterpret_cast<winampVisHeader*(VIS_CDECL*)(HWND)>(
        reinterpret_cast<void*>(GetProcAddress(probe, "winampVisGetHeader")));
    ASSERT_NE(getHeader, nullptr);
    WNDCLASSA playerClass{};
    playerClass.lpfnWndProc = PlayerProc;
    playerClass.hInstance = GetModuleHandleA(nullptr);
    playerClass.lpszClassName = "PresentTestPlayer";
    RegisterClassA(&playerClass);
    HWND player = CreateWindowExA(0, "PresentTestPlayer", "", WS_POPUP, 0, 0, 275, 116, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    for (const HookCase& c : cases) {
        SCOPED_TRACE("module " + std::to_string(c.module) + " asked " + std::to_string(c.backBuffer.cx));
        Hub = StandInHub{};
        Hub.backBuffer = c.backBuffer;
        winampVisModule* module = getHeader(player)->getModule(c.module);
        ASSERT_NE(module, nullptr);
        module->hwndParent = player;
        module->hDllInstance = probe;
        module->sRate = 44100;
        module->nCh = 2;
        ASSERT_EQ(module->Init(module), 0);
        // The 3D modules draw in the embed child, the DirectDraw ones in a window of their own.
        HWND display = c.kind == PresentKind::DirectDraw ? FindWindowA(nullptr, "DirectDraw probe")
                       : Frame                           ? GetWindow(Frame, GW_CHILD)
                                                         : nullptr;
        ASSERT_NE(display, nullptr);
        RECT client{};
        if (display) GetClientRect(display, &client);
        const int width = c.width ? c.width : client.right, height = c.height ? c.height : client.bottom;
        for (int render = 1; render <= 6; ++render) {
            for (int i = 0; i < WaveformSamples; ++i) module->waveformData[0][i] = uint8_t(i * 7 + render);
            ASSERT_EQ(module->Render(module), 0);
            PumpMessages();
            ASSERT_EQ(Hub.presents.size(), std::size_t(render)) << "one present a Render";
            const Present& present = Hub.presents.back();
            EXPECT_EQ(present.kind, c.kind);
            EXPECT_EQ(present.window, display);
            ASSERT_TRUE(present.read) << "render " << render;
            ASSERT_EQ(Hub.image.width, width);
            ASSERT_EQ(Hub.image.height, height);
            EXPECT_EQ(RenderShown(Hub.image), render);
            // Band 7 is blue 224 whatever the samples and the Render.
            EXPECT_EQ(Blue(Hub.image, width * 15 / 16, height / 2), 224);
            // The 3D modules' picture is black at the top, not at the bottom.
            if (c.kind != PresentKind::DirectDraw) {
                EXPECT_EQ(Blue(Hub.image, width * 15 / 16, height / (2 * ProbeTopStrip)), 0);
                EXPECT_EQ(Blue(Hub.image, width * 15 / 16, height - 1), 224);
            }
        }
        module->Quit(module);
        Frame = nullptr;
        PumpMessages();
    }
    DestroyWindow(player);
}

}  // namespace
