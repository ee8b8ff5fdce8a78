// Fuzzes the signal display with any waveform bytes and any sequence of
// frames, toggles, play states and restarts. Every frame must paint inside
// the skin, make exactly the fills its meters cost, and leave the meters'
// state within its ranges.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "display/level_meter.h"
#include "display/paint_list.h"
#include "display/skin_layout.h"
#include "display/spectrum_analysis.h"
#include "display/spectrum_display.h"

namespace {

struct SignalState {
    LevelMeterState meter;
    SpectrumAnalysisState analysis;
    SpectrumDisplayState spectrum;
};

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

void Restart(SignalState& state) {
    ResetLevelMeter(state.meter);
    ResetSpectrumAnalysis(state.analysis);
    ResetSpectrumDisplay(state.spectrum);
}

// Every rectangle that blackens anything lies inside the skin.
void RequireInside(const PaintList& paint, int height) {
    for (int i = 0; i < paint.count; ++i) {
        const BlackRect& r = paint.rects[i];
        if (r.right <= r.left || r.bottom <= r.top) continue;
        Require(r.left >= 0 && r.top >= 0 && r.right <= SkinWidth && r.bottom <= height);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static winampVisModule record;
    static SignalState state;
    state = SignalState{};
    Restart(state);
    bool levelShown = true, spectrumShown = true;
    size_t at = 0;
    while (at < size) {
        const uint8_t control = data[at++];
        // Each frame takes up to 1152 bytes of samples; what the input lacks
        // stays from the frame before.
        const size_t take = size - at < sizeof record.waveformData ? size - at : sizeof record.waveformData;
        std::memcpy(record.waveformData, data + at, take);
        at += take;

        if (control & 0x01) levelShown = !levelShown;
        if (control & 0x02) spectrumShown = !spectrumShown;
        const bool playing = control & 0x04;
        const ModuleSkin& skin = (control & 0x08) ? VuMeterSkin : DeduzodoSkin;
        if (control & 0x10) Restart(state);

        PaintList paint;
        DrawLevelMeter(state.meter, record.waveformData, levelShown, skin.levelBand, paint);
        int expected = levelShown ? LevelMeterRects : 2;
        if (skin.hasSpectrum) {
            DrawSpectrum(state.spectrum, state.analysis, record.waveformData, spectrumShown, playing, paint);
            expected += spectrumShown ? SpectrumRects : 2;
        }
        Require(paint.count == expected);
        RequireInside(paint, skin.height);
        const LevelMeterState& meter = state.meter;
        Require(meter.LevelFrameIndex >= 1 && meter.LevelFrameIndex <= 3);
        Require(meter.Level <= 128 && meter.LevelPeak >= 1 && meter.LevelPeak <= 128);
        for (int k = 0; k < SpectrumBars; ++k)
            Require(state.spectrum.BarPeak[k] >= 0 && state.spectrum.BarPeak[k] <= 24);
        Require(state.spectrum.BassPeak >= 0 && state.spectrum.BassPeak <= 24);
        for (double value : state.analysis.SpectrumRe) Require(std::isfinite(value) && std::fabs(value) <= 32768.0);
        Require(state.analysis.SpectrumRe[0] == 0.0);
    }
    return 0;
}
