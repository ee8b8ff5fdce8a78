#include "host/core/frame_pace.h"

namespace {

constexpr int MinDelayMs = 10, MaxDelayMs = 1000, DefaultFramesPerSecond = 60;

}  // namespace

std::string FramePace::RateText() const {
    if (numerator == 1) return std::to_string(denominator);
    return std::to_string(denominator) + "/" + std::to_string(numerator);
}

FramePace CapturePace(int delayMs, int framesPerSecond) {
    if (framesPerSecond > 0) return {1, framesPerSecond};
    if (delayMs < MinDelayMs || delayMs > MaxDelayMs) return {1, DefaultFramesPerSecond};
    return {delayMs, 1000};
}
