// Synthesizes the 8-second demo clip: a kick drum on every beat, a bass line,
// chords and a sine sweep rising through the whole spectrum while it pans
// from left to right, so that every bar and both level meters move.
// Usage: democlip OUT.wav
#include <cmath>
#include <cstdio>
#include <vector>

#include "host/audio/wav_writer.h"

namespace {

constexpr int Rate = 44100;
constexpr double Seconds = 8.0;
constexpr double Beat = 0.5;  // 120 beats per minute
constexpr double Bar = 4 * Beat;
constexpr double Pi = 3.14159265358979323846;

// Roots and chord tones (Hz) of the four bars: A minor, F, C, G.
constexpr double BassRoots[4] = {55.00, 43.65, 65.41, 49.00};
constexpr double Chords[4][3] = {
    {220.00, 261.63, 329.63}, {174.61, 220.00, 261.63}, {261.63, 329.63, 392.00}, {196.00, 246.94, 293.66}};

double Kick(double t) {
    const double local = std::fmod(t, Beat);
    // Pitch falls from 150 to 45 Hz; the phase is the integral of that.
    const double phase = 2 * Pi * (45 * local + 105 * 0.04 * (1 - std::exp(-local / 0.04)));
    return 0.9 * std::exp(-local / 0.12) * std::sin(phase);
}

double Bass(double t) {
    const int bar = int(t / Bar) % 4;
    const double note = std::fmod(t, Beat / 2);
    const int step = int(t / (Beat / 2)) % 8;
    const double f = BassRoots[bar] * (step == 3 || step == 7 ? 2.0 : 1.0);
    double wave = 0;
    for (int h = 1; h <= 6; ++h) wave += std::sin(2 * Pi * f * h * t) / h;
    return 0.22 * std::exp(-note / 0.18) * wave;
}

// Each chord tone panned a little differently; the chords swell on every beat.
void ChordSample(double t, double& left, double& right) {
    const int bar = int(t / Bar) % 4;
    const double swell = 0.6 + 0.4 * std::exp(-std::fmod(t + Beat / 2, Beat) / 0.2);
    for (int v = 0; v < 3; ++v) {
        const double f = Chords[bar][v];
        const double tone = std::sin(2 * Pi * f * t) + 0.3 * std::sin(4 * Pi * f * t) + 0.1 * std::sin(6 * Pi * f * t);
        const double pan = 0.25 + 0.25 * v;
        left += 0.07 * swell * tone * (1 - pan);
        right += 0.07 * swell * tone * pan;
    }
}

// Exponential sweep from 60 Hz to 16 kHz over the clip, panned left to right.
void SweepSample(double t, double& left, double& right) {
    const double start = 60, end = 16000;
    const double k = std::log(end / start) / Seconds;
    const double phase = 2 * Pi * start * (std::exp(k * t) - 1) / k;
    const double s = (0.05 + 0.2 * t / Seconds) * std::sin(phase);
    const double pan = t / Seconds;
    left += s * (1 - pan);
    right += s * pan;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: democlip OUT.wav\n");
        return 2;
    }
    const int frames = int(Seconds * Rate);
    std::vector<double> samples;
    samples.reserve(frames * 2);
    for (int i = 0; i < frames; ++i) {
        const double t = double(i) / Rate;
        const double centre = Kick(t) + Bass(t);
        double left = centre, right = centre;
        ChordSample(t, left, right);
        SweepSample(t, left, right);
        // Short fades so the clip starts and ends without a click.
        const double fade = std::fmin(1.0, std::fmin(t, Seconds - t) / 0.01);
        samples.push_back(std::tanh(left) * fade);
        samples.push_back(std::tanh(right) * fade);
    }
    const WavShape shape;  // 16-bit stereo, 44100 Hz
    if (!WriteFileBytes(argv[1], BuildWav(shape, EncodeSamples(shape, samples)))) {
        std::fprintf(stderr, "democlip: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("democlip: wrote %s (%.0f s)\n", argv[1], Seconds);
    return 0;
}
