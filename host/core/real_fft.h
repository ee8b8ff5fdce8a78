// A 512-point real Fourier transform, unnormalised, reduced to magnitudes the
// way the player's FFT library packs its output: 256 bins, bin 0 holding the
// DC and the Nyquist term together.
#pragma once

constexpr double TwoPi = 6.28318530717958647692;
constexpr int RealFftPoints = 512;
constexpr int RealFftBins = RealFftPoints / 2;

class RealFft512 {
public:
    // Computes the twiddle and bit-reversal tables once.
    RealFft512();

    // magnitude[k] = |X[k]| for k = 1..255 and sqrt(X[0]^2 + X[256]^2) for
    // bin 0, where X[k] = sum of input[n] * exp(-2 pi i k n / 512).
    void Magnitudes(const double (&input)[RealFftPoints], double (&magnitude)[RealFftBins]) const;

private:
    // The 512 real points go through a 256-point complex transform of the
    // even samples as real parts and the odd ones as imaginary parts.
    static constexpr int ComplexPoints = RealFftPoints / 2;
    // cos and sin of 2 pi k / 512: the complex transform uses every second one.
    double cosine_[ComplexPoints];
    double sine_[ComplexPoints];
    unsigned short bitReversed_[ComplexPoints];
};
