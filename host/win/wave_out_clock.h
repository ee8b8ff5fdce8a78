// Plays the audio through the platform's wave output; its played-sample
// count is the clock.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "host/audio/pcm_audio.h"
#include "host/core/playback_clock.h"

class WaveOutClock : public PlaybackClock {
public:
    // Null when there is no wave output device or it refuses the format.
    static std::unique_ptr<WaveOutClock> Open(const PcmAudio& audio);
    ~WaveOutClock() override;

    void Start(int64_t fromFrame) override;
    void Pause() override;
    void Resume() override;
    void Halt() override;
    int64_t Played() const override;

private:
    WaveOutClock(HWAVEOUT device, const PcmAudio& audio) : device_(device), audio_(audio) {}
    void Reset();

    HWAVEOUT device_;
    const PcmAudio& audio_;
    // One header per second of audio, all queued at once; they point into audio_.
    std::vector<WAVEHDR> headers_;
};
