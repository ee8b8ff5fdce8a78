#include "host/core/waveform.h"

void FillWaveform(const PcmAudio& audio, int64_t firstFrame, unsigned char (&waveform)[2][WaveformSamples]) {
    const int64_t frames = audio.Frames();
    for (int i = 0; i < WaveformSamples; ++i) {
        const int64_t frame = firstFrame + i;
        if (frame < 0 || frame >= frames) {
            waveform[0][i] = waveform[1][i] = 0;
            continue;
        }
        const int16_t* at = audio.samples.data() + frame * audio.channels;
        waveform[0][i] = ToWaveformByte(at[0]);
        waveform[1][i] = ToWaveformByte(at[audio.channels - 1]);
    }
}

void MeanOfChannels(const unsigned char (&waveform)[2][WaveformSamples], unsigned char (&mono)[WaveformSamples]) {
    for (int i = 0; i < WaveformSamples; ++i) {
        const int sum = static_cast<signed char>(waveform[0][i]) + static_cast<signed char>(waveform[1][i]);
        mono[i] = static_cast<unsigned char>(sum >> 1);  // arithmetic shift: floor, as ToWaveformByte
    }
}
