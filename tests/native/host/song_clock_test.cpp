// The song's clock that a captured plug-in sees: frames, spinning reads,
// skips, deadlines and timers.
#include "host/core/song_clock.h"

#include <gtest/gtest.h>

namespace {

TEST(SongClock, FramesStartOnThePeriodAndTimeNeverGoesBack) {
    SongClock clock;
    clock.SetFramePeriod(1, 60);  // 16666.67 us
    clock.NextFrame();
    EXPECT_EQ(clock.Now(), 16666);  // a period after Init
    // A plug-in that spins reads the time moving on, a step per bounded
    // number of reads, and past the next frame's start if it spins long.
    for (int i = 0; i < SpinReadsPerStep * 20 - 1; ++i) clock.Read();
    EXPECT_EQ(clock.Now(), 16666 + 19 * SpinStepMicroseconds);
    EXPECT_EQ(clock.Read(), 16666 + 20 * SpinStepMicroseconds);
    clock.NextFrame();  // 33333 is behind: the time stays
    EXPECT_EQ(clock.Now(), 36666);
    clock.NextFrame();
    EXPECT_EQ(clock.Now(), 50000);
    // A new frame starts the count of reads anew.
    for (int i = 0; i < SpinReadsPerStep - 1; ++i) clock.Read();
    clock.NextFrame();
    EXPECT_EQ(clock.Read(), 66666);
    clock.Skip(5000);
    EXPECT_EQ(clock.Now(), 71666);
    EXPECT_EQ(clock.DeadlineAfter(40), 111666);
    EXPECT_EQ(clock.DeadlineAfter(0xFFFFFFFFu), NoDeadline);
    EXPECT_EQ(clock.Frames(), 4);
}

TEST(SongClock, ReadingsStartAtTheSameInstantAndAgree) {
    const ClockReadings start = ReadingsAt(0), later = ReadingsAt(1500000);
    EXPECT_EQ(start.fileTime, 125911584000000000ull);  // 2000-01-01 00:00 UTC
    EXPECT_EQ(later.milliseconds - start.milliseconds, 1500u);
    EXPECT_EQ(later.performanceCounter - start.performanceCounter, 15000000);
    EXPECT_EQ(later.fileTime - start.fileTime, 15000000u);
    EXPECT_EQ(start.performanceCounter, int64_t(start.milliseconds) * 10000);
}

TEST(SongTimers, CoalescingCatchingUpAndOneShotTicks) {
    SongTimers timers;
    timers.Set(1, 10000, 0, SongTimers::Coalescing);
    timers.Set(2, 10000, 0, SongTimers::CatchingUp);
    timers.Set(3, 25000, 0, SongTimers::OneShot);
    std::vector<uint64_t> due;
    timers.TakeDue(5000, due);
    EXPECT_TRUE(due.empty());
    // At 35 ms three periods have passed: the window timer ticks once, the
    // multimedia one three times, the one-shot once, in the order they fell due.
    timers.TakeDue(35000, due);
    EXPECT_EQ(due, (std::vector<uint64_t>{1, 2, 2, 3, 2}));
    due.clear();
    timers.TakeDue(39999, due);
    EXPECT_TRUE(due.empty());  // the window timer's next tick is at 40 ms
    timers.TakeDue(40000, due);
    EXPECT_EQ(due, (std::vector<uint64_t>{1, 2}));
    // Setting a timer again replaces it; a killed one never ticks.
    timers.Set(1, 50000, 40000, SongTimers::Coalescing);
    EXPECT_TRUE(timers.Kill(2));
    EXPECT_FALSE(timers.Kill(3));
    due.clear();
    timers.TakeDue(89999, due);
    EXPECT_TRUE(due.empty());
    timers.TakeDue(90000, due);
    EXPECT_EQ(due, (std::vector<uint64_t>{1}));
}

TEST(SongTimers, WindowTimerPeriodsAsThePlatformTakesThem) {
    const struct {
        uint32_t asked;
        int64_t microseconds;
    } cases[] = {{0, 10000},          {1, 10000}, {10, 10000}, {40, 40000}, {0x7FFFFFFF, 0x7FFFFFFFll * 1000},
                 {0x80000000u, 10000}};
    for (const auto& c : cases) EXPECT_EQ(WindowTimerPeriodMicroseconds(c.asked), c.microseconds) << c.asked;
}

}  // namespace
