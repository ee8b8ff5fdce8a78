#include "host/core/playback_clock.h"

SilentClock::SilentClock(int rate, Now now) : rate_(rate), now_(std::move(now)) {}

int64_t SilentClock::SteadyMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void SilentClock::Start(int64_t) {
    startedAt_ = now_();
    pausedAt_ = -1;
    running_ = true;
}

void SilentClock::Pause() {
    if (running_ && pausedAt_ < 0) pausedAt_ = now_();
}

void SilentClock::Resume() {
    if (pausedAt_ < 0) return;
    startedAt_ += now_() - pausedAt_;
    pausedAt_ = -1;
}

void SilentClock::Halt() { running_ = false; }

int64_t SilentClock::Played() const {
    if (!running_) return 0;
    const int64_t until = pausedAt_ >= 0 ? pausedAt_ : now_();
    return (until - startedAt_) * rate_ / 1000000;
}

int64_t FrameClock::Played() const { return frames_ * rate_ * numerator_ / denominator_; }
