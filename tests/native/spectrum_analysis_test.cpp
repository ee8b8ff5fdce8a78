#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <random>
#include <utility>

#include "display/extended_precision.h"
#include "display/spectrum_transform.h"
#include "tests/native/spectrum_fixture.h"

namespace {

// The transform of slots 1..512 of both arrays, in the pieces that
// AnalyzeSpectrum runs.
void ComputeFft(SpectrumAnalysisState& analysis) {
    ReverseSlotOrder(analysis, analysis.SpectrumRe);
    ReverseSlotOrder(analysis, analysis.SpectrumIm);
    const X87Environment caller = EnterExtendedPrecision();
    RunButterflyStages(analysis);
    LeaveExtendedPrecision(caller);
}

using Complex = std::complex<long double>;

// Direct DFT with a negative exponent of slots 1..512 (x[n] in slot n + 1).
std::vector<Complex> DirectDft(const double* re, const double* im) {
    std::vector<Complex> out(512);
    const long double step = 2.0L * 3.141592653589793238462643383279502884L / 512;
    for (int m = 0; m < 512; ++m) {
        Complex sum = 0;
        for (int n = 0; n < 512; ++n) {
            const long double angle = -step * ((n * m) % 512);
            sum += Complex(re[n + 1], im[n + 1]) * Complex(std::cos(angle), std::sin(angle));
        }
        out[m] = sum;
    }
    return out;
}

// A double store through memory: whatever the compiler keeps in registers,
// the value that comes back has no more than double precision.
double Store(long double value) {
    volatile double stored = static_cast<double>(value);
    return stored;
}

// The transform step by step as defined: the bit-reversal walk, then per
// stage j outer and i inner, U stepped by the recurrence after each run;
// extended arithmetic, T, U and the slots stored as doubles.
void DefinedFft(const SpectrumAnalysisState& analysis, double* re, double* im) {
    const int n = 512;
    int j = 1;
    for (int i = 1; i < n; ++i) {
        if (i < j) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
        int k = n / 2;
        while (k < j) {
            j -= k;
            k /= 2;
        }
        j += k;
    }
    for (int stage = 1; stage <= 9; ++stage) {
        const int le = 1 << stage, le1 = le / 2;
        const long double wr = analysis.TwiddleCos[stage], wi = analysis.TwiddleSin[stage];
        double ur = 1.0, ui = 0.0;
        for (int first = 1; first <= le1; ++first) {
            for (int i = first; i <= n; i += le) {
                const int ip = i + le1;
                const long double xr = re[ip], xi = im[ip];
                const double tr = Store(xr * ur - xi * ui);
                const double ti = Store(xr * ui + xi * ur);
                re[ip] = Store((long double)re[i] - tr);
                im[ip] = Store((long double)im[i] - ti);
                re[i] = Store((long double)re[i] + tr);
                im[i] = Store((long double)im[i] + ti);
            }
            const double next = Store(ur * wr - ui * wi);
            ui = Store(ur * wi + ui * wr);
            ur = next;
        }
    }
}

// The reference with the x87 unit set up as the analysis sets it, whatever
// precision the test program started with.
void DefinedFftInExtendedPrecision(const SpectrumAnalysisState& analysis, double* re, double* im) {
    const X87Environment caller = EnterExtendedPrecision();
    DefinedFft(analysis, re, im);
    LeaveExtendedPrecision(caller);
}

// Equal to the last bit, so that the sign of a zero counts too.
::testing::AssertionResult SameSlots(const double* got, const double* want) {
    for (int slot = 0; slot < SpectrumSlots; ++slot) {
        if (std::memcmp(&got[slot], &want[slot], sizeof(double)) != 0) {
            return ::testing::AssertionFailure()
                   << "slot " << slot << ": " << got[slot] << " instead of " << want[slot];
        }
    }
    return ::testing::AssertionSuccess();
}

void FillRandom(winampVisModule& record, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& channel : record.waveformData) {
        for (unsigned char& b : channel) b = static_cast<unsigned char>(byte(random));
    }
}

}  // namespace

// The reordered loops, the precomputed twiddles and the zeroing after the bit
// reversal change no operation and no operand: results match to the bit.
TEST_F(SpectrumTest, TransformRepeatsTheDefinedArithmetic) {
    std::mt19937 random(17);
    std::uniform_real_distribution<double> value(-300.0, 300.0);
    double re[SpectrumSlots] = {}, im[SpectrumSlots] = {};
    for (int i = 1; i <= 512; ++i) {
        re[i] = analysis.SpectrumRe[i] = value(random);
        im[i] = analysis.SpectrumIm[i] = value(random);
    }
    ComputeFft(analysis);
    DefinedFftInExtendedPrecision(analysis, re, im);
    EXPECT_TRUE(SameSlots(analysis.SpectrumRe, re));
    EXPECT_TRUE(SameSlots(analysis.SpectrumIm, im));
}

// Window, transform and magnitudes as defined, to the bit: bar k gets the
// magnitude of slot k, the DC value that of slot 1.
TEST_F(SpectrumTest, AnalysisRepeatsTheDefinedSteps) {
    for (unsigned seed : {1u, 2u, 3u}) {
        FillRandom(record, seed);
        // Leave stale imaginary parts behind, as a previous frame does.
        for (int i = 1; i <= 512; ++i) analysis.SpectrumIm[i] = i * 0.25;
        double re[SpectrumSlots] = {}, im[SpectrumSlots] = {};
        double bars[SpectrumBars];
        const X87Environment caller = EnterExtendedPrecision();
        for (int i = 0; i <= 256; ++i) {
            const long double w = i / 512.0L;
            for (int m : {i, 512 - i}) {
                re[m] = Store(w * (128 - (record.waveformData[0][m] ^ 0x80)) +
                              w * (128 - (record.waveformData[1][m] ^ 0x80)));
            }
        }
        DefinedFft(analysis, re, im);
        for (int k = 0; k < SpectrumBars; ++k) {
            const long double r = re[k], i = im[k];
            bars[k] = Store(std::sqrt(r * r + i * i));
        }
        LeaveExtendedPrecision(caller);
        Analyze();
        EXPECT_EQ(std::memcmp(values.bars, bars, sizeof bars), 0) << "seed " << seed;
        EXPECT_EQ(std::memcmp(&values.dc, &bars[1], sizeof(double)), 0) << "seed " << seed;
    }
}

// The recurrence twiddles and 9 stages leave a rounding error of about
// 5e-15 of the largest output; 1e-12 of it is the bound checked.
TEST_F(SpectrumTest, TransformMatchesDirectDft) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> value(-128.0, 128.0);
    for (int trial = 0; trial < 3; ++trial) {
        for (int i = 1; i <= 512; ++i) {
            analysis.SpectrumRe[i] = value(random);
            analysis.SpectrumIm[i] = trial == 0 ? 0.0 : value(random);
        }
        const std::vector<Complex> expected = DirectDft(analysis.SpectrumRe, analysis.SpectrumIm);
        long double largest = 0;
        for (const Complex& c : expected) largest = std::max(largest, std::abs(c));
        const double tolerance = static_cast<double>(largest) * 1e-12;

        ComputeFft(analysis);
        for (int m = 0; m < 512; ++m) {
            EXPECT_NEAR(analysis.SpectrumRe[m + 1], static_cast<double>(expected[m].real()), tolerance) << "bin " << m;
            EXPECT_NEAR(analysis.SpectrumIm[m + 1], static_cast<double>(expected[m].imag()), tolerance) << "bin " << m;
        }
    }
}

TEST_F(SpectrumTest, ConstantInputs) {
    FillBoth(0x00);
    Analyze();
    for (int k = 0; k < SpectrumBars; ++k) EXPECT_EQ(values.bars[k], 0.0) << k;
    EXPECT_EQ(values.dc, 0.0);

    FillBoth(0xFF);  // +1 on each channel
    Analyze();
    EXPECT_EQ(values.dc, 256.0);
    EXPECT_NEAR(values.bars[2], 103.754, 5e-4);

    FillBoth(0x80);  // +128 on each channel, the largest value any slot reaches
    Analyze();
    EXPECT_EQ(values.dc, 32768.0);
}

TEST_F(SpectrumTest, SixteenCycleCosine) {
    FillWave([](int n) { return 100.0 * std::cos(TwoPi * 16 * n / 512); });
    Analyze();
    EXPECT_NEAR(values.bars[17], 12796, 1.0);
    EXPECT_NEAR(values.bars[16], 5191, 1.0);
    EXPECT_NEAR(values.bars[18], 5191, 1.0);
    EXPECT_LT(values.bars[15], 10.0);
}

// One +1 sample at index s of one channel: every bar but bar 0, which stands
// outside the transform, gets the window weight at s.
TEST_F(SpectrumTest, SingleSampleImpulses) {
    const struct {
        int sample;
        double magnitude;
    } cases[] = {{256, 0.5}, {1, 1.0 / 512}, {0, 0.0}, {512, 0.0}, {384, 0.25}};
    for (const auto& c : cases) {
        FillBoth(0x00);
        record.waveformData[1][c.sample] = 0xFF;
        Analyze();
        EXPECT_EQ(values.bars[0], 0.0);
        for (int k = 1; k < SpectrumBars; ++k) {
            EXPECT_NEAR(values.bars[k], c.magnitude, 1e-12) << "sample " << c.sample << " bar " << k;
        }
    }
}

// Whatever the samples and whatever the last transform left behind.
TEST_F(SpectrumTest, NotPlayingGivesZeros) {
    FillWave([](int n) { return 90.0 * std::sin(TwoPi * 7 * n / 512); });
    Analyze();
    EXPECT_GT(values.bars[8], 1000.0);

    playing = false;
    Analyze();
    for (int k = 0; k < SpectrumBars; ++k) EXPECT_EQ(values.bars[k], 0.0) << k;
    EXPECT_EQ(values.dc, 0.0);
}

TEST_F(SpectrumTest, TwiddlesPerStage) {
    EXPECT_EQ(analysis.TwiddleCos[1], -1.0);
    EXPECT_NEAR(analysis.TwiddleSin[1], 0.0, 1e-15);
    EXPECT_NEAR(analysis.TwiddleCos[2], 0.0, 1e-15);
    EXPECT_EQ(analysis.TwiddleSin[2], -1.0);
    EXPECT_NEAR(analysis.TwiddleCos[3], 0.70710678, 1e-8);
    EXPECT_NEAR(analysis.TwiddleSin[3], -0.70710678, 1e-8);
    EXPECT_NEAR(analysis.TwiddleCos[9], 0.99992470, 1e-8);
    EXPECT_NEAR(analysis.TwiddleSin[9], -0.01227154, 1e-8);
    // Each stage's W, raised to the stage's half length, turns half a circle
    // (stage 1's residue may put its angle on either side of the half turn).
    for (int stage = 1; stage <= 9; ++stage) {
        const double w = std::atan2(analysis.TwiddleSin[stage], analysis.TwiddleCos[stage]);
        EXPECT_NEAR(std::remainder(w * (1 << (stage - 1)) + Pi, TwoPi), 0.0, 1e-12) << "stage " << stage;
    }
}
