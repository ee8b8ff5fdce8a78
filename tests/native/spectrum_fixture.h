// Shared set-up for the spectrum tests: the library as loaded, then the
// spectrum's share of module start-up, with samples chosen per test.
#pragma once

#include <cmath>
#include <vector>

#include "display/spectrum_analysis.h"
#include "display/spectrum_display.h"
#include "tests/native/meter_fixture.h"

class SpectrumTest : public MeterTest {
protected:
    void SetUp() override {
        MeterTest::SetUp();
        Analysis = SpectrumAnalysisState{};
        SpectrumView = SpectrumDisplayState{};
        StartUp();
        Plugin.HostPlaying = true;
    }

    // What module start-up does for the spectrum.
    static void StartUp() {
        BuildSpectrumTables();
        InitSpectrumDisplay();
    }

    // Both channels get the signed sample nearest to wave(n), n = 0..575.
    template <typename Wave>
    void FillWave(Wave wave) {
        for (int n = 0; n < WaveformSamples; ++n) {
            const int value = static_cast<int>(std::nearbyint(wave(n)));
            record.waveformData[0][n] = record.waveformData[1][n] = static_cast<unsigned char>(value & 0xFF);
        }
    }

    std::vector<PaintedRect> SpectrumFrame() {
        ClearPainted();
        DrawSpectrum(&record);
        return PaintedRects();
    }
};

constexpr double Pi = 3.141592653589793238463;
constexpr double TwoPi = 2 * Pi;
