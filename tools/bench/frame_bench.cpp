// Measures one frame of each module of the real vis_kt.dll, single and double
// size, from its drawing calls alone: stand-ins in the DLL's import table
// record them (tools/bench/draw_calls.h), so the bench needs nothing of how
// the DLL draws. For each module and size it reports the calls of a frame
// while playing; the frame's time against the same calls replayed alone and
// against that replay without the empty fills (the pixel floor), with the
// 25 ms frame budget; and the calls per second at rest. A Windows program,
// run under Wine by `make bench`.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "plugin/player_protocol.h"
#include "plugin/records.h"
#include "tools/bench/draw_calls.h"

namespace {

constexpr int Frames = 3000;
constexpr int WarmUpFrames = 200;
constexpr int StandInSamples = 500;
constexpr double BudgetMs = 25.0;
// At rest the plug-in's own timer renders, every 25 ms (40 a second): the
// bench sends its tick, to the window of the class the plug-in registers.
constexpr char PluginWindowClass[] = "DAVevUri";
constexpr UINT_PTR RenderTimerId = 1001;
constexpr int RestSettleRenders = 200;
constexpr int RestCountedRenders = 400;
constexpr int TimerRendersPerSecond = 40;

// What the player's main window answers to the is-playing query: 1 while
// frames are timed, so every frame runs the spectrum transform; 0 at rest.
LRESULT PlayingAnswer = 1;

LRESULT CALLBACK PlayerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER && wParam == 0 && lParam == PlayerQuery::IsPlaying) return PlayingAnswer;
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

// Calls counted over a number of renders.
struct CallTally {
    long long calls[DrawFunctionCount] = {};
    long long emptyFills = 0;
    bool overflowed = false;
    void Add(const DrawRecording& recording) {
        for (int i = 0; i < recording.count; ++i) {
            ++calls[recording.calls[i].function];
            if (IsEmptyFill(recording.calls[i])) ++emptyFills;
        }
        overflowed = overflowed || recording.overflowed;
    }
};

struct Result {
    bool ok = false;
    CallTally playing, rest;
    double frameMs = 0, frameP99Ms = 0, replayMs = 0, floorMs = 0, standInsMs = 0;
    long long failedReplayCalls = 0;
};

// Big enough to be kept out of the stack.
DrawRecording Recorded, Scratch;

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    return static_cast<double>(to.QuadPart - from.QuadPart) / ticksPerMs;
}

double Percentile(std::vector<double> values, int percent) {
    std::sort(values.begin(), values.end());
    return values[values.size() * percent / 100];
}

// Times the frame, its calls replayed and the replay without empty fills, in
// turn on every frame, so that load drifts reach all three alike. The frame
// is timed with its calls being recorded: its replay must be its own calls,
// since the spectrum's fills change with the signal. What the stand-ins
// themselves cost is timed apart and reported beside it.
void TimeFrames(winampVisModule* module, Result& result) {
    std::vector<double> frame, replay, floor;
    frame.reserve(Frames);
    replay.reserve(Frames);
    floor.reserve(Frames);
    LARGE_INTEGER t0, t1, t2, t3, t4, t5;
    RecordDrawCallsInto(&Recorded);
    for (int i = 0; i < WarmUpFrames + Frames; ++i) {
        FillSignal(module, i);
        Recorded.Clear();
        QueryPerformanceCounter(&t0);
        module->Render(module);
        QueryPerformanceCounter(&t1);
        QueryPerformanceCounter(&t2);
        result.failedReplayCalls += Replay(Recorded, SystemDrawFunctions, false);
        QueryPerformanceCounter(&t3);
        QueryPerformanceCounter(&t4);
        result.failedReplayCalls += Replay(Recorded, SystemDrawFunctions, true);
        QueryPerformanceCounter(&t5);
        if (i >= WarmUpFrames) {
            result.playing.Add(Recorded);
            frame.push_back(Milliseconds(t0, t1));
            replay.push_back(Milliseconds(t2, t3));
            floor.push_back(Milliseconds(t4, t5));
        }
        if (i % 50 == 0) PumpMessages();
    }
    RecordDrawCallsInto(nullptr);
    result.frameMs = Percentile(frame, 50);
    result.frameP99Ms = Percentile(frame, 99);
    result.replayMs = Percentile(replay, 50);
    result.floorMs = Percentile(floor, 50);

    // The last frame's calls, through the stand-ins and straight, in turn.
    std::vector<double> extra;
    extra.reserve(StandInSamples);
    RecordDrawCallsInto(&Scratch);
    for (int i = 0; i < StandInSamples; ++i) {
        Scratch.Clear();
        QueryPerformanceCounter(&t0);
        Replay(Recorded, RecordingDrawFunctions, false);
        QueryPerformanceCounter(&t1);
        QueryPerformanceCounter(&t2);
        Replay(Recorded, SystemDrawFunctions, false);
        QueryPerformanceCounter(&t3);
        extra.push_back(Milliseconds(t0, t1) - Milliseconds(t2, t3));
    }
    RecordDrawCallsInto(nullptr);
    result.standInsMs = Percentile(extra, 50);
}

// Stopped, with silence, as the player leaves it: the timer's renders, once
// bars and peaks have had the time to fall.
bool CountAtRest(winampVisModule* module, Result& result) {
    const HWND window = FindWindowA(PluginWindowClass, nullptr);
    if (!window) return false;
    PlayingAnswer = 0;
    // The samples are signed: 0 is silence.
    std::memset(module->waveformData, 0, sizeof module->waveformData);
    for (int i = 0; i < RestSettleRenders; ++i) SendMessageA(window, WM_TIMER, RenderTimerId, 0);
    RecordDrawCallsInto(&Recorded);
    for (int i = 0; i < RestCountedRenders; ++i) {
        Recorded.Clear();
        SendMessageA(window, WM_TIMER, RenderTimerId, 0);
        result.rest.Add(Recorded);
    }
    RecordDrawCallsInto(nullptr);
    PlayingAnswer = 1;
    return true;
}

Result MeasureModule(HMODULE library, winampVisHeader* header, int index, HWND player) {
    Result result;
    winampVisModule* module = header->getModule(index);
    module->hwndParent = player;
    module->hDllInstance = library;
    module->userData = nullptr;
    if (module->Init(module) != 0) {
        std::fprintf(stderr, "frame_bench: Init failed\n");
        return result;
    }
    // Let a timer tick see the player playing.
    const DWORD until = GetTickCount() + 100;
    while (GetTickCount() < until) {
        PumpMessages();
        Sleep(5);
    }
    TimeFrames(module, result);
    result.ok = CountAtRest(module, result);
    if (!result.ok) std::fprintf(stderr, "frame_bench: no window of class %s\n", PluginWindowClass);
    if (result.failedReplayCalls) {
        std::fprintf(stderr, "frame_bench: %lld replayed drawing calls failed\n", result.failedReplayCalls);
        result.ok = false;
    }
    if (result.playing.overflowed || result.rest.overflowed) {
        std::fprintf(stderr, "frame_bench: more than %d drawing calls in one render\n", DrawRecording::Capacity);
        result.ok = false;
    }
    module->Quit(module);
    PumpMessages();
    return result;
}

// The player window's widths, single and double size.
constexpr int PlayerWidths[2] = {275, 550};

const char* Name(int index, int size) {
    static const char* const names[] = {"Deduzodo single", "Deduzodo double", "VU-Meter single", "VU-Meter double"};
    return names[index * 2 + size];
}

void PrintCallsHeader(const char* what) {
    std::printf("%-16s %9s", what, "all");
    for (const char* name : DrawFunctionNames) std::printf(" %10s", name);
    std::printf(" %12s\n", "empty fills");
}

void PrintCalls(const char* name, const CallTally& tally, double scale) {
    long long all = 0;
    for (long long calls : tally.calls) all += calls;
    std::printf("%-16s %9.1f", name, all * scale);
    for (long long calls : tally.calls) std::printf(" %10.1f", calls * scale);
    std::printf(" %12.1f\n", tally.emptyFills * scale);
}

void Report(const Result (&results)[2][2]) {
    std::printf("\nDrawing calls of one frame while playing, average of %d frames (FillRects: empty ones too)\n",
                Frames);
    PrintCallsHeader("module, size");
    for (int index = 0; index < 2; ++index) {
        for (int w = 0; w < 2; ++w) {
            if (results[index][w].ok) PrintCalls(Name(index, w), results[index][w].playing, 1.0 / Frames);
        }
    }
    std::printf(
        "\nOne frame (Render as the player calls it) against its own calls replayed alone and the replay\n"
        "without empty fills (floor), medians of %d frames taken in turn; p99 and %% of the %.0f ms budget "
        "are the frame's;\nstand-ins: what recording adds to the frame time\n",
        Frames, BudgetMs);
    std::printf("%-16s %9s %9s %8s %8s %9s %9s %12s %11s %10s\n", "module, size", "frame ms", "p99 ms", "median %",
                "p99 %", "replay ms", "floor ms", "frame/replay", "frame/floor", "stand-ins");
    for (int index = 0; index < 2; ++index) {
        for (int w = 0; w < 2; ++w) {
            const Result& r = results[index][w];
            if (!r.ok) continue;
            std::printf("%-16s %9.4f %9.4f %7.2f%% %7.2f%% %9.4f %9.4f %12.2f %11.2f %10.4f\n", Name(index, w),
                        r.frameMs, r.frameP99Ms, 100.0 * r.frameMs / BudgetMs, 100.0 * r.frameP99Ms / BudgetMs,
                        r.replayMs, r.floorMs, r.frameMs / r.replayMs, r.frameMs / r.floorMs, r.standInsMs);
        }
    }
    std::printf(
        "\nDrawing calls per second at rest: stopped, silence, %d timer renders counted after %d, %d a "
        "second\n",
        RestCountedRenders, RestSettleRenders, TimerRendersPerSecond);
    PrintCallsHeader("module, size");
    for (int index = 0; index < 2; ++index) {
        for (int w = 0; w < 2; ++w) {
            if (results[index][w].ok) {
                PrintCalls(Name(index, w), results[index][w].rest,
                           static_cast<double>(TimerRendersPerSecond) / RestCountedRenders);
            }
        }
    }
}

}  // namespace

int main() {
    HMODULE library = LoadLibraryA("vis_kt.dll");
    auto getHeader = library ? reinterpret_cast<winampVisHeader* (*)()>(
                                   reinterpret_cast<void*>(GetProcAddress(library, "winampVisGetHeader")))
                             : nullptr;
    if (!getHeader) {
        std::fprintf(stderr, "frame_bench: vis_kt.dll not loadable next to the program\n");
        return 1;
    }
    if (!InstallDrawRecorder(library)) {
        std::fprintf(stderr, "frame_bench: the drawing imports of vis_kt.dll could not be redirected\n");
        return 1;
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PlayerWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "FrameBenchPlayer";
    RegisterClassA(&windowClass);

    int status = 0;
    Result results[2][2];
    for (int index = 0; index < 2; ++index) {
        for (int w = 0; w < 2; ++w) {
            HWND player = CreateWindowExA(0, "FrameBenchPlayer", "Player", WS_POPUP | WS_VISIBLE, 100, 300,
                                          PlayerWidths[w], 116, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
            results[index][w] = MeasureModule(library, getHeader(), index, player);
            DestroyWindow(player);
            if (!results[index][w].ok) status = 1;
        }
    }
    Report(results);
    // The runs wrote their settings next to the library; leave no file behind.
    char path[MAX_PATH];
    GetModuleFileNameA(library, path, MAX_PATH);
    if (char* slash = std::strrchr(path, '\\')) {
        std::strcpy(slash + 1, "plugin.ini");
        DeleteFileA(path);
    }
    return status;
}
