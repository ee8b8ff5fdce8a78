#include "host/win/abrupt_end.h"

#include <windows.h>

#include <atomic>

#include "host/core/ppm_stream.h"

namespace {

CRITICAL_SECTION FrameOutput;
PpmStream* Stream = nullptr;
std::atomic<int> Frames{0};
std::atomic<bool> Ending{false};

// The longest an abrupt end waits for a frame being written.
constexpr DWORD FrameWaitMs = 2000;

}  // namespace

void PrepareAbruptEnd() { InitializeCriticalSection(&FrameOutput); }

void SetStreamForAbruptEnd(PpmStream* stream) { Stream = stream; }

void LockFrameOutput() { EnterCriticalSection(&FrameOutput); }
void UnlockFrameOutput() { LeaveCriticalSection(&FrameOutput); }

void CountFrameWritten() { ++Frames; }

void EndAbruptly(int code, DescribeEnd describe, const void* context) {
    // The first thread to end the run says why; any other waits for its end.
    if (Ending.exchange(true)) {
        for (;;) Sleep(INFINITE);
    }
    const ULONGLONG deadline = GetTickCount64() + FrameWaitMs;
    bool locked = false;
    while (!(locked = TryEnterCriticalSection(&FrameOutput)) && GetTickCount64() < deadline) Sleep(5);
    char line[512] = "";
    describe(context, Frames, line);
    char text[600];
    const int length = wsprintfA(text, "vis_host: %s\n", line);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, DWORD(length), &written, nullptr);
    if (locked && Stream) Stream->Flush();
    TerminateProcess(GetCurrentProcess(), UINT(code));
    for (;;) Sleep(INFINITE);
}
