// Where played time comes from: the sound device, the wall clock when there
// is no device, or the rendered frames in capture mode.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

class PlaybackClock {
public:
    virtual ~PlaybackClock() = default;
    // Output begins at this frame of the audio; Played() restarts from 0.
    virtual void Start(int64_t fromFrame) = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    virtual void Halt() = 0;
    // Frames played since Start, pauses excluded.
    virtual int64_t Played() const = 0;
};

// Silent playback at the pace of a steady clock; the clock can be replaced
// for tests. It gives microseconds.
class SilentClock : public PlaybackClock {
public:
    using Now = std::function<int64_t()>;
    explicit SilentClock(int rate, Now now = SteadyMicroseconds);
    void Start(int64_t fromFrame) override;
    void Pause() override;
    void Resume() override;
    void Halt() override;
    int64_t Played() const override;

    static int64_t SteadyMicroseconds();

private:
    int rate_;
    Now now_;
    int64_t startedAt_ = 0;  // microseconds, moved forward by each pause
    int64_t pausedAt_ = -1;  // microseconds while paused, otherwise -1
    bool running_ = false;
};

// Capture mode: each rendered frame is a fixed length of audio, whatever the
// wall clock says, so that the same file gives the same frames on every run.
class FrameClock : public PlaybackClock {
public:
    explicit FrameClock(int rate) : rate_(rate) {}
    // One frame is numerator / denominator seconds of audio (the module's
    // delayMs over 1000, or 1 over a frame rate), set before frames advance.
    void SetFramePace(int64_t numerator, int64_t denominator) {
        numerator_ = numerator;
        denominator_ = denominator > 0 ? denominator : 1;
    }
    void Start(int64_t) override { frames_ = 0; }
    void Pause() override {}
    void Resume() override {}
    void Halt() override {}
    int64_t Played() const override;
    // One frame was rendered while playing.
    void Advance() { ++frames_; }

private:
    int rate_;
    std::atomic<int64_t> numerator_{0}, denominator_{1};
    std::atomic<int64_t> frames_{0};
};
