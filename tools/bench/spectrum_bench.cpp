// Times the spectrum analysis and one whole Deduzodo signal-display frame,
// and FFTW's 512-point complex forward transform of the same windowed
// samples, then prints how many times slower the analysis is. With
// repetitions the ratio uses the medians.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "display/level_meter.h"
#include "display/paint_list.h"
#include "display/spectrum_analysis.h"
#include "display/spectrum_display.h"

namespace {

winampVisModule Record{};
LevelMeterState Meter;
SpectrumAnalysisState Analysis;
SpectrumDisplayState Spectrum;

// A chord with some noise, the same every run.
void FillRecord() {
    unsigned seed = 12345;
    for (int n = 0; n < WaveformSamples; ++n) {
        seed = seed * 1103515245u + 12345u;
        const double noise = double((seed >> 16) & 0xFF) / 255.0 - 0.5;
        const double t = 6.283185307179586 * n / 512;
        const double left = 50 * std::sin(3 * t) + 30 * std::sin(17.3 * t) + 15 * std::cos(60.7 * t) + 20 * noise;
        const double right = 45 * std::sin(3 * t + 0.4) + 25 * std::sin(23.1 * t) + 20 * noise;
        Record.waveformData[0][n] = static_cast<unsigned char>(int(std::nearbyint(left)) & 0xFF);
        Record.waveformData[1][n] = static_cast<unsigned char>(int(std::nearbyint(right)) & 0xFF);
    }
}

void StartUp() {
    ResetLevelMeter(Meter);
    ResetSpectrumAnalysis(Analysis);
    ResetSpectrumDisplay(Spectrum);
}

void AnalyzeSpectrumFrame(benchmark::State& state) {
    StartUp();
    for (auto _ : state) {
        SpectrumValues values;
        AnalyzeSpectrum(Analysis, Record.waveformData, true, values);
        benchmark::DoNotOptimize(values.dc);
        benchmark::ClobberMemory();
    }
}

void DeduzodoSignalDisplayFrame(benchmark::State& state) {
    StartUp();
    for (auto _ : state) {
        PaintList paint;
        DrawLevelMeter(Meter, Record.waveformData, true, DeduzodoSkin.levelBand, paint);
        DrawSpectrum(Spectrum, Analysis, Record.waveformData, true, true, paint);
        benchmark::DoNotOptimize(paint.count);
        benchmark::ClobberMemory();
    }
}

// The transform's input as AnalyzeSpectrum forms it: slot m + 1 holds
// sample m + 1 with weight min(m + 1, 511 - m) / 512.
void FftwForward512(benchmark::State& state) {
    fftw_complex* in = fftw_alloc_complex(512);
    fftw_complex* out = fftw_alloc_complex(512);
    fftw_plan plan = fftw_plan_dft_1d(512, in, out, FFTW_FORWARD, FFTW_MEASURE);
    for (int m = 0; m < 512; ++m) {
        const int sample = m + 1;
        const double weight = double(std::min(sample, 512 - sample)) / 512;
        in[m][0] = weight * (128 - (Record.waveformData[0][sample] ^ 0x80)) +
                   weight * (128 - (Record.waveformData[1][sample] ^ 0x80));
        in[m][1] = 0.0;
    }
    for (auto _ : state) {
        fftw_execute(plan);
        benchmark::DoNotOptimize(out[1][0]);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    fftw_free(in);
    fftw_free(out);
}

// Keeps each benchmark's CPU time per iteration, the median where the runs
// were repeated, while the console shows every line, without colours.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> cpuNs;

    RecordingReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || median) {
                cpuNs[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
    }
};

}  // namespace

BENCHMARK(AnalyzeSpectrumFrame)->Unit(benchmark::kNanosecond);
BENCHMARK(DeduzodoSignalDisplayFrame)->Unit(benchmark::kNanosecond);
BENCHMARK(FftwForward512)->Unit(benchmark::kNanosecond);

int main(int argc, char** argv) {
    FillRecord();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto ours = reporter.cpuNs.find("AnalyzeSpectrumFrame");
    const auto fftw = reporter.cpuNs.find("FftwForward512");
    if (ours != reporter.cpuNs.end() && fftw != reporter.cpuNs.end() && fftw->second > 0) {
        std::printf("AnalyzeSpectrum %.0f ns / FFTW 512-point transform %.0f ns (CPU time): %.2f\n", ours->second,
                    fftw->second, ours->second / fftw->second);
    }
    return 0;
}
