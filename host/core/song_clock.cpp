#include "host/core/song_clock.h"

#include <algorithm>

namespace {

// 2000-01-01 00:00:00 UTC in 100 ns units since 1601, and a machine that has
// been up for a minute: fixed, so every run starts at the same instant.
constexpr uint64_t StartFileTime = 125911584000000000ull;
constexpr uint64_t StartMilliseconds = 60000;
constexpr int64_t StartCounter = int64_t(StartMilliseconds) * (PerformanceFrequency / 1000);

constexpr uint32_t Infinite = 0xFFFFFFFFu;
constexpr int64_t MinTimerMs = 10, MaxTimerMs = 0x7FFFFFFF;

}  // namespace

void SongClock::SetFramePeriod(int64_t numerator, int64_t denominator) {
    if (numerator > 0 && denominator > 0) numerator_ = numerator, denominator_ = denominator;
}

int64_t SongClock::FrameStart(int64_t frame) const { return frame * numerator_ * 1000000 / denominator_; }

int64_t SongClock::Read() {
    if (++reads_ >= SpinReadsPerStep) {
        reads_ = 0;
        now_ += SpinStepMicroseconds;
    }
    return now_;
}

void SongClock::NextFrame() {
    now_ = std::max(now_, FrameStart(++frames_));
    reads_ = 0;
}

void SongClock::Skip(int64_t microseconds) {
    if (microseconds > 0) now_ += microseconds, reads_ = 0;
}

int64_t SongClock::DeadlineAfter(uint32_t milliseconds) const {
    return milliseconds == Infinite ? NoDeadline : now_ + int64_t(milliseconds) * 1000;
}

ClockReadings ReadingsAt(int64_t microseconds) {
    return {StartMilliseconds + uint64_t(microseconds / 1000),
            StartCounter + microseconds * (PerformanceFrequency / 1000000),
            StartFileTime + uint64_t(microseconds) * 10};
}

void SongTimers::Set(uint64_t key, int64_t periodMicroseconds, int64_t now, Kind kind) {
    Kill(key);
    const int64_t period = std::max<int64_t>(periodMicroseconds, 1);
    timers_.push_back({key, period, now + period, kind});
}

bool SongTimers::Kill(uint64_t key) {
    const auto gone = std::remove_if(timers_.begin(), timers_.end(), [key](const Timer& t) { return t.key == key; });
    const bool found = gone != timers_.end();
    timers_.erase(gone, timers_.end());
    return found;
}

void SongTimers::TakeDue(int64_t now, std::vector<uint64_t>& due) {
    // Ticks in the order they fall due; ties in the order the timers were set.
    for (;;) {
        Timer* next = nullptr;
        for (Timer& t : timers_)
            if (t.due <= now && (!next || t.due < next->due)) next = &t;
        if (!next) break;
        due.push_back(next->key);
        if (next->kind == OneShot) {
            Kill(next->key);
        } else if (next->kind == Coalescing) {
            next->due += (now - next->due) / next->period * next->period + next->period;
        } else {
            next->due += next->period;
        }
    }
}

int64_t WindowTimerPeriodMicroseconds(uint32_t milliseconds) {
    const int64_t ms = milliseconds > MaxTimerMs ? MinTimerMs : std::max<int64_t>(milliseconds, MinTimerMs);
    return ms * 1000;
}
