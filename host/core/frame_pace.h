// How much of the song a captured frame is: the module's delayMs when it is a
// sensible frame period, else a sixtieth of a second, or 1/N s when asked.
#pragma once

#include <cstdint>
#include <string>

struct FramePace {
    int64_t numerator = 1, denominator = 60;  // seconds per frame
    double Milliseconds() const { return 1000.0 * double(numerator) / double(denominator); }
    // Frames per second as a fraction an encoder takes: "60", "1000/25".
    std::string RateText() const;
};

// delayMs below 10 or above 1000 (0: as often as the player can) gives the
// default pace; framesPerSecond > 0 overrides the module.
FramePace CapturePace(int delayMs, int framesPerSecond);
