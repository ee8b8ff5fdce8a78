// The time a plug-in sees while the host captures: the song's, in
// microseconds since the capture's start, moved on frame by frame. It starts
// at the same instant on every run, so a plug-in that reads a clock or seeds
// its random numbers from one draws the same frames every time.
#pragma once

#include <cstdint>
#include <vector>

// A plug-in that spins on a clock within one frame sees it move this much
// after this many reads, rather than hang: a bounded number, so that a
// plug-in's own loop decides how far, not the machine's speed.
constexpr int SpinReadsPerStep = 1000;
constexpr int64_t SpinStepMicroseconds = 1000;
// No deadline: a wait without a timeout.
constexpr int64_t NoDeadline = INT64_MAX;

class SongClock {
public:
    // One frame is numerator / denominator seconds.
    void SetFramePeriod(int64_t numerator, int64_t denominator);
    int64_t Now() const { return now_; }
    // A read by the plug-in: the time, moved on by a spin step once the
    // frame has been read too often.
    int64_t Read();
    // The next frame: the time becomes that frame's start, never going back
    // when spinning or skips went past it. The first frame starts a period
    // after 0, where the plug-in's Init was, as the player renders a frame
    // period after Init: a timer set in Init has ticked by the first Render.
    void NextFrame();
    // Frames begun so far.
    int64_t Frames() const { return frames_; }
    // Time that passed without frames (a wait on the thread that renders,
    // which no frame can end).
    void Skip(int64_t microseconds);
    // When a wait of `milliseconds` begun now ends; the maximum 32-bit value
    // is no timeout.
    int64_t DeadlineAfter(uint32_t milliseconds) const;

private:
    int64_t FrameStart(int64_t frame) const;
    int64_t numerator_ = 1, denominator_ = 60;
    int64_t frames_ = 0;
    int64_t now_ = 0;
    int reads_ = 0;  // since the time last moved
};

// The readings of the platform's clocks at a song time; the first frame of
// every capture is at the same instant of these clocks.
constexpr int64_t PerformanceFrequency = 10000000;  // ticks per second
struct ClockReadings {
    uint64_t milliseconds;       // since the machine started (tick count)
    int64_t performanceCounter;  // at PerformanceFrequency
    uint64_t fileTime;           // 100 ns units since 1601, UTC
};
ClockReadings ReadingsAt(int64_t microseconds);

// The host's timers on the song's clock. Window timers (SetTimer) tick once
// when due however many periods went by, as the platform coalesces them;
// multimedia timers (timeSetEvent) tick once per period owed.
class SongTimers {
public:
    enum Kind { Coalescing, CatchingUp, OneShot };
    // Sets or replaces the timer `key`, first due a period after `now`.
    void Set(uint64_t key, int64_t periodMicroseconds, int64_t now, Kind kind);
    bool Kill(uint64_t key);
    // Appends the key of each tick due by `now`, in the order they fall due.
    void TakeDue(int64_t now, std::vector<uint64_t>& due);
    bool Empty() const { return timers_.empty(); }

private:
    struct Timer {
        uint64_t key;
        int64_t period, due;
        Kind kind;
    };
    std::vector<Timer> timers_;
};

// A window timer's period as the platform takes it: at least 10 ms, and
// anything above 0x7FFFFFFF ms is 10 ms.
int64_t WindowTimerPeriodMicroseconds(uint32_t milliseconds);
