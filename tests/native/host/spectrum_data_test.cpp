// The spectrum bytes against a direct DFT of the same formula in long double.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <tuple>

#include "host/core/spectrum_data.h"
#include "host/core/waveform.h"

namespace {

constexpr int N = RealFftPoints;

struct Reference {
    long double dc = 0, nyquist = 0;     // X[0] and X[256]
    long double scaled[RealFftBins];     // magnitude / 16
    long double value[RealFftBins];      // the same, at most 255
    long double bytes[WaveformSamples];  // before rounding
};

// The whole formula written out plainly: DC blocker, Hann window, O(N^2) DFT.
Reference Expected(const std::function<long double(int)>& sample) {
    const long double twoPi = 2 * std::acos(-1.0L);
    long double input[N];
    long double x1 = 0, y1 = 0;
    for (int n = 0; n < N; ++n) {
        const long double y = sample(n) - x1 + 0.99L * y1;
        x1 = sample(n);
        y1 = y;
        input[n] = y * (0.5L - 0.5L * std::cos(twoPi * n / (N - 1)));
    }
    Reference r;
    for (int k = 0; k <= RealFftBins; ++k) {
        long double re = 0, im = 0;
        for (int n = 0; n < N; ++n) {
            re += input[n] * std::cos(twoPi * (k * n % N) / N);
            im -= input[n] * std::sin(twoPi * (k * n % N) / N);
        }
        if (k == 0) r.dc = re;
        else if (k == RealFftBins) r.nyquist = re;
        else r.scaled[k] = std::hypot(re, im) / 16;
    }
    r.scaled[0] = std::hypot(r.dc, r.nyquist) / 16;
    long double previous = 0;
    for (int k = 0; k < RealFftBins; ++k) {
        r.value[k] = std::min(r.scaled[k], 255.0L);
        r.bytes[2 * k] = (r.value[k] + previous) / 2;
        r.bytes[2 * k + 1] = r.value[k];
        previous = r.value[k];
    }
    for (int i = 2 * RealFftBins; i < WaveformSamples; ++i) r.bytes[i] = std::ldexp(previous, 511 - i);
    return r;
}

// Every byte equals the exact value rounded to nearest, ties to even; a byte
// may differ only where the exact value lies within 1e-6 of a tie without
// being one (an exact tie, as 255 / 2, must round to even). Returns how many
// such near ties were met.
int ExpectBytes(const unsigned char (&bytes)[WaveformSamples], const Reference& r, const char* what) {
    int nearTies = 0;
    for (int i = 0; i < WaveformSamples; ++i) {
        const long double fromTie = std::fabs(r.bytes[i] - std::floor(r.bytes[i]) - 0.5L);
        const bool nearTie = fromTie > 0 && fromTie < 1e-6L;
        nearTies += nearTie;
        if (nearTie && std::fabs(bytes[i] - r.bytes[i]) <= 0.5L + 1e-6L) continue;
        EXPECT_EQ(bytes[i], std::nearbyint(r.bytes[i])) << what << " byte " << i << " exact " << double(r.bytes[i]);
    }
    return nearTies;
}

// Deterministic noise over the whole signed 8-bit range.
int Noise(int n, int seed) {
    return static_cast<int>((static_cast<uint32_t>(n + 1) * 2654435761u * (seed + 7)) >> 24) - 128;
}

struct Signal {
    const char* name;
    std::function<int(int)> left, right;
};

const Signal Signals[] = {
    {"silence", [](int) { return 0; }, [](int) { return 0; }},
    {"dc offset", [](int) { return 40; }, [](int) { return -100; }},
    {"sine on a bin", [](int n) { return int(std::lround(100 * std::sin(TwoPi * 32 * n / N))); },
     [](int n) { return int(std::lround(60 * std::cos(TwoPi * 200 * n / N))); }},
    {"noise", [](int n) { return Noise(n, 1); }, [](int n) { return Noise(n, 2); }},
    {"full-scale square", [](int n) { return n / 8 % 2 ? 127 : -128; }, [](int n) { return n % 2 ? 127 : -128; }},
    {"quiet sines",
     [](int n) { return int(std::lround(3 * std::sin(TwoPi * 5.5 * n / N) + 2 * std::sin(TwoPi * 255 * n / N))); },
     [](int n) { return Noise(n, 3) / 16; }},
};

void Fill(unsigned char (&waveform)[2][WaveformSamples], const std::function<int(int)>& left,
          const std::function<int(int)>& right) {
    for (int n = 0; n < WaveformSamples; ++n) {
        waveform[0][n] = static_cast<unsigned char>(left(n));
        waveform[1][n] = static_cast<unsigned char>(right(n));
    }
}

class SpectrumData : public ::testing::Test {
protected:
    SpectrumTables tables;
    unsigned char waveform[2][WaveformSamples];
    unsigned char spectrum[2][WaveformSamples];
};

TEST_F(SpectrumData, EveryByteMatchesTheDirectTransform) {
    int nearTies = 0;
    for (const Signal& signal : Signals) {
        Fill(waveform, signal.left, signal.right);
        std::memset(spectrum, 0x55, sizeof spectrum);
        FillSpectrum(waveform, 2, tables, spectrum);
        nearTies += ExpectBytes(spectrum[0], Expected(signal.left), signal.name);
        nearTies += ExpectBytes(spectrum[1], Expected(signal.right), signal.name);

        // One channel: the real mean of the two, into channel 0 alone.
        std::memset(spectrum, 0x55, sizeof spectrum);
        FillSpectrum(waveform, 1, tables, spectrum);
        nearTies += ExpectBytes(spectrum[0], Expected([&](int n) { return (signal.left(n) + signal.right(n)) / 2.0L; }),
                                signal.name);
        for (int i = 0; i < WaveformSamples; ++i) ASSERT_EQ(spectrum[1][i], 0x55) << signal.name << " " << i;
    }
    // None of these signals lands near a tie, so every byte above was held to the exact rounding.
    EXPECT_EQ(nearTies, 0);
}

TEST_F(SpectrumData, NoChannelsFillsNothing) {
    Fill(waveform, Signals[3].left, Signals[3].right);
    std::memset(spectrum, 0x55, sizeof spectrum);
    FillSpectrum(waveform, 0, tables, spectrum);
    for (int i = 0; i < WaveformSamples; ++i) ASSERT_TRUE(spectrum[0][i] == 0x55 && spectrum[1][i] == 0x55) << i;
}

TEST_F(SpectrumData, BinZeroPairsTheDcTermWithTheNyquistTerm) {
    // A slow staircase leaves a DC term after the blocker, the alternation a Nyquist term.
    const auto staircase = [](int n) { return n / 32; };
    const auto alternation = [](int n) { return n % 2 ? 3 : -3; };
    const auto both = [&](int n) { return staircase(n) + alternation(n); };
    Fill(waveform, both, alternation);
    FillSpectrum(waveform, 2, tables, spectrum);
    const Reference r = Expected(both);
    const long double dc = std::fabs(r.dc) / 16, nyquist = std::fabs(r.nyquist) / 16;
    ASSERT_GT(dc, 20);
    ASSERT_GT(nyquist, 20);
    EXPECT_EQ(spectrum[0][1], std::nearbyint(std::hypot(dc, nyquist)));
    EXPECT_GT(spectrum[0][1], std::max(dc, nyquist) + 10);
    // The alternation alone has no DC term: bin 0 is its Nyquist term.
    const Reference alone = Expected(alternation);
    ASSERT_LT(std::fabs(alone.dc), 1);
    EXPECT_GT(spectrum[1][1], 40);
    EXPECT_NEAR(spectrum[1][1], std::fabs(alone.nyquist) / 16, 0.51);
}

TEST_F(SpectrumData, ValuesStopAt255AndTheTailHalvesTheLastBin) {
    // Full-scale alternation: bins 0 and 255 far beyond 255.
    const auto alternation = [](int n) { return n % 2 ? 127 : -128; };
    Fill(waveform, alternation, [](int n) { return int(std::lround(10 * std::sin(TwoPi * 255 * n / N))); });
    FillSpectrum(waveform, 2, tables, spectrum);
    const Reference r = Expected(alternation);
    ASSERT_GT(r.scaled[0], 300);
    ASSERT_GT(r.scaled[255], 300);
    EXPECT_EQ(spectrum[0][0], 128);  // the midpoint of 0 and 255: 127.5 rounds to even
    EXPECT_EQ(spectrum[0][1], 255);
    EXPECT_EQ(spectrum[0][511], 255);
    // The tail from 255: 127.5 rounds to even, then 63.75, 31.875, ...
    const int tail[] = {128, 64, 32, 16, 8, 4, 2, 1, 0};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(spectrum[0][512 + i], tail[i]) << i;
    for (int i = 521; i < WaveformSamples; ++i) ASSERT_EQ(spectrum[0][i], 0) << i;
    // Below the clamp the tail starts at half the last bin's value, not at the value itself.
    ASSERT_TRUE(spectrum[1][511] > 20 && spectrum[1][511] < 255) << int(spectrum[1][511]);
    EXPECT_NEAR(spectrum[1][512], spectrum[1][511] / 2.0, 0.76);
    EXPECT_NEAR(spectrum[1][513], spectrum[1][511] / 4.0, 0.76);
}

TEST_F(SpectrumData, OneChannelAveragesWithoutRoundingAndCancelsOppositeChannels) {
    // Channel 0 steps 0/1 with a period of 8, channel 1 is silent: the mean steps 0/0.5, which a byte
    // average would round away, and shows at bin 64.
    const auto steps = [](int n) { return n % 8 < 4 ? 1 : 0; };
    Fill(waveform, steps, [](int) { return 0; });
    FillSpectrum(waveform, 1, tables, spectrum);
    EXPECT_GE(spectrum[0][2 * 64 + 1], 2);
    EXPECT_EQ(ExpectBytes(spectrum[0], Expected([&](int n) { return steps(n) / 2.0L; }), "half steps"), 0);
    // Opposite channels cancel.
    const auto noise = [](int n) { return std::max(Noise(n, 1), -127); };
    Fill(waveform, noise, [&](int n) { return -noise(n); });
    FillSpectrum(waveform, 2, tables, spectrum);
    ASSERT_GT(spectrum[1][101], 0);
    FillSpectrum(waveform, 1, tables, spectrum);
    for (int i = 0; i < WaveformSamples; ++i) ASSERT_EQ(spectrum[0][i], 0) << i;
}

TEST(MeanOfChannels, RoundsDownAsTheHighByteDoes) {
    const std::tuple<int, int, int> cases[] = {{0, 0, 0},          {1, 0, 0},       {-1, 0, -1},
                                               {3, 4, 3},          {-3, -4, -4},    {127, 127, 127},
                                               {-128, -128, -128}, {127, -128, -1}, {100, -20, 40}};
    unsigned char waveform[2][WaveformSamples] = {};
    unsigned char mono[WaveformSamples];
    int i = 0;
    for (const auto& [left, right, mean] : cases) {
        waveform[0][i] = static_cast<unsigned char>(left);
        waveform[1][i++] = static_cast<unsigned char>(right);
    }
    MeanOfChannels(waveform, mono);
    i = 0;
    for (const auto& [left, right, mean] : cases)
        EXPECT_EQ(static_cast<signed char>(mono[i++]), mean) << left << " " << right;
    // In place, into channel 0; channel 1 stays.
    MeanOfChannels(waveform, waveform[0]);
    EXPECT_EQ(std::memcmp(waveform[0], mono, sizeof mono), 0);
    EXPECT_EQ(static_cast<signed char>(waveform[1][8]), -20);
}

}  // namespace
