// Play state, position and the clocks behind them.
#include <gtest/gtest.h>

#include "host/core/transport.h"

namespace {

constexpr int Rate = 1000;  // one frame per millisecond keeps the numbers readable

// A steady clock the test moves by hand.
struct FakeTime {
    int64_t micros = 0;
    void Ms(int64_t ms) { micros += ms * 1000; }
};

class TransportTest : public ::testing::Test {
protected:
    FakeTime time;
    SilentClock clock{Rate, [this] { return time.micros; }};
    Transport transport{10000, Rate, clock};  // a 10-second file
};

TEST_F(TransportTest, PlayPauseStopFollowTheClock) {
    EXPECT_EQ(transport.State(), PlayState::Stopped);
    transport.Play();
    time.Ms(1500);
    EXPECT_EQ(transport.State(), PlayState::Playing);
    EXPECT_EQ(transport.Position(), 1500);
    transport.Pause();
    time.Ms(4000);
    EXPECT_EQ(transport.State(), PlayState::Paused);
    EXPECT_EQ(transport.Position(), 1500);
    transport.Pause();  // C again resumes
    time.Ms(500);
    EXPECT_EQ(transport.State(), PlayState::Playing);
    EXPECT_EQ(transport.Position(), 2000);
    transport.Stop();
    EXPECT_EQ(transport.State(), PlayState::Stopped);
    EXPECT_EQ(transport.Position(), 0);
    transport.Pause();  // nothing to pause
    EXPECT_EQ(transport.State(), PlayState::Stopped);
}

TEST_F(TransportTest, PlayResumesWhenPausedAndRestartsWhenPlaying) {
    transport.Play();
    time.Ms(3000);
    transport.Pause();
    time.Ms(100);
    transport.Play();
    EXPECT_EQ(transport.Position(), 3000);
    time.Ms(1000);
    transport.Play();
    EXPECT_EQ(transport.Position(), 0);
    EXPECT_EQ(transport.State(), PlayState::Playing);
}

TEST_F(TransportTest, SeekStaysWithinTheFileAndKeepsPause) {
    transport.Seek(SeekStepMs);  // ignored while stopped
    EXPECT_EQ(transport.Position(), 0);
    transport.Play();
    time.Ms(1000);
    transport.Seek(SeekStepMs);
    EXPECT_EQ(transport.Position(), 6000);
    transport.Seek(-3 * SeekStepMs);
    EXPECT_EQ(transport.Position(), 0);
    time.Ms(2000);
    transport.Pause();
    transport.Seek(SeekStepMs);
    time.Ms(1000);
    EXPECT_EQ(transport.State(), PlayState::Paused);
    EXPECT_EQ(transport.Position(), 7000);
    transport.Seek(SeekStepMs);  // beyond the end
    EXPECT_EQ(transport.State(), PlayState::Stopped);
}

TEST_F(TransportTest, TheEndStopsPlayback) {
    transport.Play();
    time.Ms(9999);
    EXPECT_EQ(transport.State(), PlayState::Playing);
    time.Ms(1);
    EXPECT_EQ(transport.State(), PlayState::Stopped);
    EXPECT_EQ(transport.Position(), 0);
    transport.Play();
    time.Ms(10);
    EXPECT_EQ(transport.Position(), 10);
}

TEST(TransportWithoutAudio, PlayDoesNothing) {
    FrameClock clock(44100);
    Transport transport(0, 44100, clock);
    transport.Play();
    EXPECT_EQ(transport.State(), PlayState::Stopped);
}

TEST(IsPlayingQuery, AnswersOneThreeZero) {
    EXPECT_EQ(IsPlayingAnswer(PlayState::Playing), 1);
    EXPECT_EQ(IsPlayingAnswer(PlayState::Paused), 3);
    EXPECT_EQ(IsPlayingAnswer(PlayState::Stopped), 0);
}

TEST(FrameClock, EachFrameIsDelayMsOfAudioWithoutDrift) {
    FrameClock clock(44100);
    clock.SetFramePace(25, 1000);
    Transport transport(44100 * 60, 44100, clock);
    transport.Play();
    for (int frame = 0; frame < 1000; ++frame) {
        ASSERT_EQ(transport.Position(), int64_t(frame) * 44100 * 25 / 1000) << frame;
        clock.Advance();
    }
    EXPECT_EQ(transport.Position(), 1102500);  // 25 s exactly
    transport.Pause();
    EXPECT_EQ(transport.Position(), 1102500);
    transport.Seek(-SeekStepMs);
    EXPECT_EQ(transport.Position(), 1102500 - 220500);
    clock.Advance();
    EXPECT_EQ(transport.Position(), 1102500 - 220500 + 1102);
}

}  // namespace
