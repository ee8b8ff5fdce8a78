#include "host/core/spectrum_data.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double DcBlockerPole = 0.99;
constexpr double MagnitudeScale = 1.0 / 16;
constexpr double MaxValue = 255;

// Nearest, ties to even (the default rounding mode).
unsigned char RoundToByte(double value) { return static_cast<unsigned char>(std::nearbyint(value)); }

double Signed(unsigned char sample) { return static_cast<signed char>(sample); }

// One channel's 576 bytes from its 512 samples.
void SpectrumBytes(const double (&samples)[RealFftPoints], const SpectrumTables& tables,
                   unsigned char (&bytes)[WaveformSamples]) {
    // The DC blocker y = x - x1 + 0.99 y1 starts afresh in every block.
    double input[RealFftPoints];
    double previousX = 0, previousY = 0;
    for (int n = 0; n < RealFftPoints; ++n) {
        const double y = samples[n] - previousX + DcBlockerPole * previousY;
        previousX = samples[n];
        previousY = y;
        input[n] = y * tables.window[n];
    }
    double magnitude[RealFftBins];
    tables.fft.Magnitudes(input, magnitude);
    // Each bin gives the midpoint from the bin before it, then its own value.
    double previous = 0;
    for (int k = 0; k < RealFftBins; ++k) {
        const double value = std::min(magnitude[k] * MagnitudeScale, MaxValue);
        bytes[2 * k] = RoundToByte((value + previous) / 2);
        bytes[2 * k + 1] = RoundToByte(value);
        previous = value;
    }
    // The tail goes on from the last bin's byte, halving at every byte.
    double fading = previous;
    for (int i = 2 * RealFftBins; i < WaveformSamples; ++i) {
        fading /= 2;
        bytes[i] = RoundToByte(fading);
    }
}

}  // namespace

SpectrumTables::SpectrumTables() {
    for (int n = 0; n < RealFftPoints; ++n) window[n] = 0.5 - 0.5 * std::cos(TwoPi * n / (RealFftPoints - 1));
}

void FillSpectrum(const unsigned char (&waveform)[2][WaveformSamples], int channels, const SpectrumTables& tables,
                  unsigned char (&spectrum)[2][WaveformSamples]) {
    double samples[RealFftPoints];
    if (channels == 1) {
        // The mean in real numbers: halves kept, no rounding before the transform.
        for (int n = 0; n < RealFftPoints; ++n) samples[n] = (Signed(waveform[0][n]) + Signed(waveform[1][n])) / 2;
        SpectrumBytes(samples, tables, spectrum[0]);
        return;
    }
    for (int c = 0; c < std::min(channels, 2); ++c) {
        for (int n = 0; n < RealFftPoints; ++n) samples[n] = Signed(waveform[c][n]);
        SpectrumBytes(samples, tables, spectrum[c]);
    }
}
