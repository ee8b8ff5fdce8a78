// The samples the player hands a module: 576 signed 8-bit samples per channel.
#pragma once

#include <cstdint>

#include "host/audio/pcm_audio.h"
#include "plugin/records.h"

// 16-bit to signed 8-bit: the sample's high byte.
inline unsigned char ToWaveformByte(int16_t sample) { return static_cast<unsigned char>(sample >> 8); }

// Fills both channels from firstFrame on; mono goes to both channels, frames
// outside the audio are silence.
void FillWaveform(const PcmAudio& audio, int64_t firstFrame, unsigned char (&waveform)[2][WaveformSamples]);

// A one-channel waveform: the two channels' mean into mono, rounded down as
// the high byte of a sample is. mono may be waveform[0].
void MeanOfChannels(const unsigned char (&waveform)[2][WaveformSamples], unsigned char (&mono)[WaveformSamples]);

// Frames of audio in the given milliseconds, rounded down.
inline int64_t FramesIn(int64_t milliseconds, int rate) { return milliseconds * rate / 1000; }
