// The spectrum the player hands a module: per channel, 256 frequency bins of
// the first 512 samples of the waveform block, two bytes a bin, then a tail
// that fades the last bin out.
#pragma once

#include "host/core/real_fft.h"
#include "plugin/records.h"

// Tables computed once, read before every Render.
struct SpectrumTables {
    SpectrumTables();
    double window[RealFftPoints];  // Hann, 0.5 - 0.5 cos(2 pi n / 511)
    RealFft512 fft;
};

// Fills the spectrum from the waveform block (signed 8-bit samples). With one
// channel the two channels' mean goes into spectrum[0] and spectrum[1] is left
// alone; with two or more each channel fills its own; with none nothing.
void FillSpectrum(const unsigned char (&waveform)[2][WaveformSamples], int channels, const SpectrumTables& tables,
                  unsigned char (&spectrum)[2][WaveformSamples]);
