// Times one frame of each module of the real vis_kt.dll, as the player calls
// it: median and 99th percentile of 10000 frames, single and double size,
// against the 25 ms frame budget. A Windows program, run under Wine by
// `make bench`.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "plugin/records.h"

namespace {

constexpr int Frames = 10000;
constexpr int WarmUpFrames = 200;
constexpr double BudgetMs = 25.0;

// The player's main window answers the is-playing query with 1, so every
// frame runs the spectrum transform.
LRESULT CALLBACK PlayerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER && wParam == 0 && lParam == IsPlayingQuery) return 1;
    return DefWindowProcA(window, message, wParam, lParam);
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) DispatchMessageA(&msg);
    }
}

// Two drifting tones and a little noise under a slow envelope.
void FillSignal(winampVisModule* module, int frame) {
    static unsigned noise = 1;
    const double envelope = 0.4 + 0.6 * std::fabs(std::sin(frame * 0.011));
    for (int channel = 0; channel < 2; ++channel) {
        for (int i = 0; i < WaveformSamples; ++i) {
            const double t = frame * WaveformSamples + i;
            noise = noise * 1664525u + 1013904223u;
            const double value = 70 * std::sin(t * (0.02 + 0.003 * channel)) + 35 * std::sin(t * 0.31) +
                                 static_cast<int>(noise >> 28) - 8;
            module->waveformData[channel][i] =
                static_cast<unsigned char>(static_cast<signed char>(std::lround(envelope * value)));
        }
    }
}

struct Result {
    double medianMs, p99Ms;
};

Result TimeModule(HMODULE library, winampVisHeader* header, int index, HWND player) {
    winampVisModule* module = header->getModule(index);
    module->hwndParent = player;
    module->hDllInstance = library;
    module->userData = nullptr;
    if (module->Init(module) != 0) {
        std::fprintf(stderr, "frame_bench: Init failed\n");
        return {-1, -1};
    }
    // Let a timer tick see the player playing.
    const DWORD until = GetTickCount() + 100;
    while (GetTickCount() < until) {
        PumpMessages();
        Sleep(5);
    }
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    times.reserve(Frames);
    for (int frame = 0; frame < WarmUpFrames + Frames; ++frame) {
        FillSignal(module, frame);
        QueryPerformanceCounter(&before);
        module->Render(module);
        QueryPerformanceCounter(&after);
        if (frame >= WarmUpFrames) {
            times.push_back(1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) /
                            static_cast<double>(frequency.QuadPart));
        }
        if (frame % 50 == 0) PumpMessages();
    }
    module->Quit(module);
    PumpMessages();
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[times.size() * 99 / 100]};
}

}  // namespace

int main() {
    HMODULE library = LoadLibraryA("vis_kt.dll");
    auto getHeader = library ? reinterpret_cast<winampVisHeader* (*)()>(reinterpret_cast<void*>(
                                   GetProcAddress(library, "winampVisGetHeader")))
                             : nullptr;
    if (!getHeader) {
        std::fprintf(stderr, "frame_bench: vis_kt.dll not loadable next to the program\n");
        return 1;
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PlayerWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "FrameBenchPlayer";
    RegisterClassA(&windowClass);

    std::printf("One frame of vis_kt.dll (Render as the player calls it, QueryPerformanceCounter), %d frames "
                "each, against the %.0f ms frame budget\n",
                Frames, BudgetMs);
    std::printf("%-9s %-7s %12s %12s %10s %10s\n", "module", "size", "median ms", "p99 ms", "median %", "p99 %");
    int status = 0;
    for (int index = 0; index < 2; ++index) {
        for (int width : {275, 550}) {
            HWND player = CreateWindowExA(0, "FrameBenchPlayer", "Player", WS_POPUP | WS_VISIBLE, 100, 300, width,
                                          116, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
            const Result result = TimeModule(library, getHeader(), index, player);
            DestroyWindow(player);
            if (result.medianMs < 0) {
                status = 1;
                continue;
            }
            std::printf("%-9s %-7s %12.4f %12.4f %9.2f%% %9.2f%%\n", index ? "VU-Meter" : "Deduzodo",
                        width > 400 ? "double" : "single", result.medianMs, result.p99Ms,
                        100.0 * result.medianMs / BudgetMs, 100.0 * result.p99Ms / BudgetMs);
        }
    }
    // The runs wrote their settings next to the library; leave no file behind.
    char path[MAX_PATH];
    GetModuleFileNameA(library, path, MAX_PATH);
    if (char* slash = std::strrchr(path, '\\')) {
        std::strcpy(slash + 1, "plugin.ini");
        DeleteFileA(path);
    }
    return status;
}
