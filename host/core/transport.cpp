#include "host/core/transport.h"

#include <algorithm>

int IsPlayingAnswer(PlayState state) {
    switch (state) {
    case PlayState::Playing: return 1;
    case PlayState::Paused: return 3;
    default: return 0;
    }
}

const char* PlayStateName(PlayState state) {
    switch (state) {
    case PlayState::Playing: return "Playing";
    case PlayState::Paused: return "Paused";
    default: return "Stopped";
    }
}

Transport::Transport(int64_t totalFrames, int rate, PlaybackClock& clock)
    : total_(totalFrames), rate_(rate), clock_(clock) {}

void Transport::UpdateLocked() {
    if (state_ != PlayState::Stopped && startFrame_ + clock_.Played() >= total_) {
        clock_.Halt();
        state_ = PlayState::Stopped;
        startFrame_ = 0;
    }
}

void Transport::StartLocked(int64_t frame) {
    startFrame_ = frame;
    clock_.Start(frame);
}

PlayState Transport::State() {
    std::lock_guard<std::mutex> lock(mutex_);
    UpdateLocked();
    return state_;
}

int64_t Transport::Position() {
    std::lock_guard<std::mutex> lock(mutex_);
    UpdateLocked();
    return state_ == PlayState::Stopped ? 0 : startFrame_ + clock_.Played();
}

void Transport::Play() {
    std::lock_guard<std::mutex> lock(mutex_);
    UpdateLocked();
    if (total_ <= 0) return;
    if (state_ == PlayState::Paused) {
        clock_.Resume();
    } else {
        StartLocked(0);
    }
    state_ = PlayState::Playing;
}

void Transport::Pause() {
    std::lock_guard<std::mutex> lock(mutex_);
    UpdateLocked();
    if (state_ == PlayState::Playing) {
        clock_.Pause();
        state_ = PlayState::Paused;
    } else if (state_ == PlayState::Paused) {
        clock_.Resume();
        state_ = PlayState::Playing;
    }
}

void Transport::Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (state_ != PlayState::Stopped) clock_.Halt();
    state_ = PlayState::Stopped;
    startFrame_ = 0;
}

void Transport::Seek(int milliseconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    UpdateLocked();
    if (state_ == PlayState::Stopped) return;
    const int64_t target =
        std::clamp<int64_t>(startFrame_ + clock_.Played() + int64_t(milliseconds) * rate_ / 1000, 0, total_);
    StartLocked(target);
    if (state_ == PlayState::Paused) clock_.Pause();
    UpdateLocked();
}
