// Long runs of both render operations over a varied signal: no crash, the
// same objects held throughout and the process's memory flat. The number of
// frames comes from VIS_SOAK_FRAMES (5000 when unset; `make soak` runs
// 100000).
#include <windows.h>
// After windows.h, which it builds on.
#include <psapi.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/wine/accounting_fixture.h"

namespace {

int SoakFrames() {
    const char* text = std::getenv("VIS_SOAK_FRAMES");
    const int frames = text ? std::atoi(text) : 0;
    return frames > 0 ? frames : 5000;
}

struct Memory {
    SIZE_T commit, workingSet;     // GetProcessMemoryInfo
    unsigned long long heapBytes;  // in use in every heap of the process
};

// Wine reports no private bytes, so the blocks in use are summed over the
// process's heaps, which the plug-in's allocations would come from.
unsigned long long HeapBytesInUse() {
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    unsigned long long total = 0;
    for (DWORD h = 0; h < count && h < 64; ++h) {
        if (!HeapLock(heaps[h])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[h], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        }
        HeapUnlock(heaps[h]);
    }
    return total;
}

Memory MemoryNow() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return {counters.PagefileUsage, counters.WorkingSetSize, HeapBytesInUse()};
}

long long Growth(unsigned long long start, unsigned long long end) {
    return static_cast<long long>(end) - static_cast<long long>(start);
}

enum class Signal { Music, Silence, FullScale, Extremes, Kinds };

// A few drifting tones under an envelope with a little noise, as music gives.
void FillMusic(winampVisModule* module, int frame, unsigned& noise) {
    const double envelope = 0.3 + 0.7 * std::fabs(std::sin(frame * 0.013));
    for (int channel = 0; channel < 2; ++channel) {
        for (int i = 0; i < WaveformSamples; ++i) {
            const double t = frame * WaveformSamples + i;
            noise = noise * 1664525u + 1013904223u;
            const double value = 60 * std::sin(t * (0.01 + 0.004 * channel)) +
                                 30 * std::sin(t * (0.13 + 0.0001 * (frame % 700))) + 15 * std::sin(t * 0.9) +
                                 static_cast<int>(noise >> 28) - 8;
            const long sample = std::lround(envelope * value);
            module->waveformData[channel][i] = static_cast<unsigned char>(static_cast<signed char>(sample));
        }
    }
}

void FillSignal(winampVisModule* module, Signal signal, int frame, unsigned& noise) {
    switch (signal) {
    case Signal::Music: FillMusic(module, frame, noise); break;
    case Signal::Silence: FillWaveform(module, 0, 0); break;
    case Signal::FullScale: FillWaveform(module, 0x7F, 0x80); break;
    default:  // alternating extremes, opposite on the two channels
        for (int i = 0; i < WaveformSamples; ++i) {
            module->waveformData[0][i] = i % 2 ? 0x80 : 0x7F;
            module->waveformData[1][i] = i % 2 ? 0x7F : 0x80;
        }
        break;
    }
}

}  // namespace

class SoakTest : public AccountingTest, public ::testing::WithParamInterface<int> {};

TEST_P(SoakTest, HeldObjectsAndMemoryStayFlat) {
    const int frames = SoakFrames();
    Start(GetParam());
    // The timer's ticks see the player playing, so the transform runs.
    Player.playingAnswer = 1;
    const int held = Ledger.HeldTotal();
    ASSERT_EQ(held, 9) << DescribeHeld();

    unsigned noise = 12345;
    Memory start = {};
    for (int frame = 0; frame < frames; ++frame) {
        const Signal signal = static_cast<Signal>((frame / 250) % static_cast<int>(Signal::Kinds));
        FillSignal(module, signal, frame, noise);
        ASSERT_EQ(module->Render(module), 0);
        if (frame % 50 == 0) PumpMessages();
        if (frame % 2000 == 1999) {
            // Single and double size by turns, with a docking move each time.
            const bool doubleSize = (frame / 2000) % 2 == 0;
            MovePlayerWindow(PlayerLeft + frame % 7, PlayerTop, doubleSize ? 550 : PlayerWidth, PlayerHeight);
        }
        if (frame % 1000 == 999) {
            ASSERT_EQ(Ledger.HeldTotal(), held) << "frame " << frame << ": " << DescribeHeld();
            ASSERT_EQ(Ledger.getDCs, Ledger.releaseDCs) << "frame " << frame;
            ASSERT_TRUE(Ledger.faults.empty()) << "frame " << frame << ": " << Ledger.faults.front();
        }
        // Measured once the first sizes and signals have all been seen.
        if (frame == 999 || (frames < 1000 && frame == 0)) start = MemoryNow();
    }
    const Memory end = MemoryNow();
    std::printf(
        "soak %s: %d frames; from frame 1000 to the end: heap bytes in use %llu -> %llu (%+lld), "
        "commit %llu -> %llu (%+lld), working set %llu -> %llu (%+lld)\n",
        GetParam() ? "VU-Meter" : "Deduzodo", frames, start.heapBytes, end.heapBytes,
        Growth(start.heapBytes, end.heapBytes), static_cast<unsigned long long>(start.commit),
        static_cast<unsigned long long>(end.commit), Growth(start.commit, end.commit),
        static_cast<unsigned long long>(start.workingSet), static_cast<unsigned long long>(end.workingSet),
        Growth(start.workingSet, end.workingSet));
    RecordProperty("frames", frames);
    RecordProperty("heap_growth", std::to_string(Growth(start.heapBytes, end.heapBytes)));
    RecordProperty("commit_growth", std::to_string(Growth(start.commit, end.commit)));
    // The plug-in allocates nothing per frame; a leak of even a few bytes a
    // frame would show in the heaps over the run.
    EXPECT_GT(start.heapBytes, 0u);
    EXPECT_LT(Growth(start.heapBytes, end.heapBytes), 16 * 1024);
    EXPECT_LT(Growth(start.commit, end.commit), 1024 * 1024);
    EXPECT_EQ(Ledger.HeldTotal(), held) << DescribeHeld();
    // The music, a quarter of the frames, changes the picture at every frame.
    EXPECT_GE(Ledger.frameStarts, frames / 4);
}

INSTANTIATE_TEST_SUITE_P(RenderOperations, SoakTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& test) { return test.param ? "VuMeter" : "Deduzodo"; });
