// Shared set-up for the spectrum tests: the spectrum as module start-up
// leaves it, the player playing, with samples chosen per test.
#pragma once

#include <cmath>
#include <vector>

#include "display/spectrum_analysis.h"
#include "display/spectrum_display.h"
#include "tests/native/meter_fixture.h"

class SpectrumTest : public MeterTest {
protected:
    SpectrumAnalysisState analysis;
    SpectrumDisplayState view;
    SpectrumValues values{};
    bool playing = true;
    bool spectrumShown = true;

    void SetUp() override {
        MeterTest::SetUp();
        StartUp();
    }

    // What module start-up does for the spectrum.
    void StartUp() {
        ResetSpectrumAnalysis(analysis);
        ResetSpectrumDisplay(view);
    }

    // Both channels get the signed sample nearest to wave(n), n = 0..575.
    template <typename Wave>
    void FillWave(Wave wave) {
        for (int n = 0; n < WaveformSamples; ++n) {
            const int value = static_cast<int>(std::nearbyint(wave(n)));
            record.waveformData[0][n] = record.waveformData[1][n] = static_cast<unsigned char>(value & 0xFF);
        }
    }

    void Analyze() { AnalyzeSpectrum(analysis, record.waveformData, playing, values); }

    // The spectrum's share of one frame.
    std::vector<BlackRect> SpectrumFrame() {
        PaintList paint;
        DrawSpectrum(view, analysis, record.waveformData, spectrumShown, playing, paint);
        return Rects(paint);
    }

    // Steps and paints the bars from values as they stand.
    std::vector<BlackRect> ShowValues() {
        PaintList paint;
        StepSpectrum(view, values);
        PaintSpectrum(view, paint);
        return Rects(paint);
    }
};

constexpr double Pi = 3.141592653589793238463;
constexpr double TwoPi = 2 * Pi;
