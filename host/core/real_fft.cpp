#include "host/core/real_fft.h"

#include <cmath>

RealFft512::RealFft512() {
    const double step = TwoPi / RealFftPoints;
    for (int k = 0; k < ComplexPoints; ++k) {
        cosine_[k] = std::cos(step * k);
        sine_[k] = std::sin(step * k);
        int reversed = 0;
        for (int bit = 1, mirror = ComplexPoints / 2; bit < ComplexPoints; bit <<= 1, mirror >>= 1)
            if (k & bit) reversed |= mirror;
        bitReversed_[k] = static_cast<unsigned short>(reversed);
    }
}

void RealFft512::Magnitudes(const double (&input)[RealFftPoints], double (&magnitude)[RealFftBins]) const {
    // z[n] = input[2n] + i input[2n+1], in bit-reversed order for the
    // in-place radix-2 decimation in time.
    double re[ComplexPoints], im[ComplexPoints];
    for (int n = 0; n < ComplexPoints; ++n) {
        re[bitReversed_[n]] = input[2 * n];
        im[bitReversed_[n]] = input[2 * n + 1];
    }
    for (int size = 2; size <= ComplexPoints; size *= 2) {
        const int half = size / 2;
        const int stride = RealFftPoints / size;  // exp(-2 pi i j / size) = table entry j * stride
        for (int start = 0; start < ComplexPoints; start += size) {
            for (int j = 0; j < half; ++j) {
                const int a = start + j, b = a + half;
                const double wr = cosine_[j * stride], wi = -sine_[j * stride];
                const double tr = re[b] * wr - im[b] * wi, ti = re[b] * wi + im[b] * wr;
                re[b] = re[a] - tr;
                im[b] = im[a] - ti;
                re[a] += tr;
                im[a] += ti;
            }
        }
    }
    // Z[0] holds the sums of the even and of the odd samples.
    const double dc = re[0] + im[0], nyquist = re[0] - im[0];
    magnitude[0] = std::sqrt(dc * dc + nyquist * nyquist);
    // X[k] = E[k] + exp(-2 pi i k / 512) O[k], with the transforms of the even
    // samples E[k] = (Z[k] + conj Z[256-k]) / 2 and of the odd ones
    // O[k] = (Z[k] - conj Z[256-k]) / 2i.
    for (int k = 1; k < RealFftBins; ++k) {
        const int m = ComplexPoints - k;
        const double evenRe = (re[k] + re[m]) / 2, evenIm = (im[k] - im[m]) / 2;
        const double oddRe = (im[k] + im[m]) / 2, oddIm = (re[m] - re[k]) / 2;
        const double wr = cosine_[k], wi = -sine_[k];
        const double xr = evenRe + oddRe * wr - oddIm * wi, xi = evenIm + oddRe * wi + oddIm * wr;
        magnitude[k] = std::sqrt(xr * xr + xi * xi);
    }
}
