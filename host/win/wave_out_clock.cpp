#include "host/win/wave_out_clock.h"

#include <algorithm>

std::unique_ptr<WaveOutClock> WaveOutClock::Open(const PcmAudio& audio) {
    if (audio.Frames() == 0 || waveOutGetNumDevs() == 0) return nullptr;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = WORD(audio.channels);
    format.nSamplesPerSec = DWORD(audio.rate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = WORD(audio.channels * 2);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    HWAVEOUT device = nullptr;
    if (waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return nullptr;
    return std::unique_ptr<WaveOutClock>(new WaveOutClock(device, audio));
}

WaveOutClock::~WaveOutClock() {
    Reset();
    waveOutClose(device_);
}

void WaveOutClock::Reset() {
    waveOutReset(device_);
    for (WAVEHDR& header : headers_) waveOutUnprepareHeader(device_, &header, sizeof header);
    headers_.clear();
}

void WaveOutClock::Start(int64_t fromFrame) {
    Reset();
    const int64_t chunk = audio_.rate;  // frames per header
    const int64_t frames = audio_.Frames() - std::clamp<int64_t>(fromFrame, 0, audio_.Frames());
    headers_.resize(std::size_t((frames + chunk - 1) / chunk));
    for (std::size_t i = 0; i < headers_.size(); ++i) {
        const int64_t first = fromFrame + int64_t(i) * chunk;
        const int64_t count = std::min(chunk, audio_.Frames() - first);
        WAVEHDR& header = headers_[i];
        header = {};
        header.lpData = reinterpret_cast<char*>(const_cast<int16_t*>(audio_.samples.data() + first * audio_.channels));
        header.dwBufferLength = DWORD(count * audio_.channels * 2);
        waveOutPrepareHeader(device_, &header, sizeof header);
        waveOutWrite(device_, &header, sizeof header);
    }
}

void WaveOutClock::Pause() { waveOutPause(device_); }

void WaveOutClock::Resume() { waveOutRestart(device_); }

void WaveOutClock::Halt() { Reset(); }

int64_t WaveOutClock::Played() const {
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    if (waveOutGetPosition(device_, &time, sizeof time) != MMSYSERR_NOERROR) return 0;
    if (time.wType == TIME_SAMPLES) return time.u.sample;
    if (time.wType == TIME_BYTES) return time.u.cb / (audio_.channels * 2);
    return 0;
}
