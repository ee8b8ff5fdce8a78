// The player's play state and position, moved by its keys (X play, C pause,
// V stop, arrows seek) and by the clock. Safe to use from several threads.
#pragma once

#include <cstdint>
#include <mutex>

#include "host/core/playback_clock.h"

enum class PlayState { Stopped, Playing, Paused };

// The answer to the is-playing query: 1 playing, 3 paused, 0 stopped.
int IsPlayingAnswer(PlayState state);
const char* PlayStateName(PlayState state);

constexpr int SeekStepMs = 5000;

class Transport {
public:
    // totalFrames 0 means nothing to play: Play does nothing.
    Transport(int64_t totalFrames, int rate, PlaybackClock& clock);

    // Reaching the end stops playback.
    PlayState State();
    // Frame of the audio now being heard; 0 when stopped.
    int64_t Position();
    int64_t TotalFrames() const { return total_; }
    int Rate() const { return rate_; }

    // Stopped: from the start. Paused: resumes. Playing: restarts.
    void Play();
    // Playing: pauses. Paused: resumes. Stopped: nothing.
    void Pause();
    void Stop();
    // Moves by the given milliseconds while playing or paused, within the file.
    void Seek(int milliseconds);

private:
    void UpdateLocked();
    void StartLocked(int64_t frame);

    std::mutex mutex_;
    int64_t total_;
    int rate_;
    PlaybackClock& clock_;
    PlayState state_ = PlayState::Stopped;
    int64_t startFrame_ = 0;  // where the clock last started
};
