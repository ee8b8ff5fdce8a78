// Fuzzes the signal display with any waveform bytes and any sequence of
// frames, toggles, play states and restarts. Every frame must paint inside
// the skin, make exactly the fills its meters cost, and leave the meters'
// state within its ranges.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "display/level_meter.h"
#include "display/paint_seam.h"
#include "display/spectrum_analysis.h"
#include "display/spectrum_display.h"
#include "plugin/plugin_state.h"

namespace {

int Fills = 0;
int CanvasHeight = 46;

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

void Restart(uint8_t kind) {
    Plugin.ModuleKind = kind;
    ResetLevelMeter();
    BuildSpectrumTables();
    InitSpectrumDisplay();
}

}  // namespace

void PaintBlack(int left, int top, int right, int bottom) {
    ++Fills;
    if (right <= left || bottom <= top) return;
    Require(left >= 0 && top >= 0 && right <= 275 && bottom <= CanvasHeight);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static winampVisModule record;
    Plugin = PluginState{};
    Restart(ModuleDeduzodo);
    CanvasHeight = 46;
    size_t at = 0;
    while (at < size) {
        const uint8_t control = data[at++];
        // Each frame takes up to 1152 bytes of samples; what the input lacks
        // stays from the frame before.
        const size_t take = size - at < sizeof record.waveformData ? size - at : sizeof record.waveformData;
        std::memcpy(record.waveformData, data + at, take);
        at += take;

        if (control & 0x01) Plugin.DisplayFlags ^= ShowLevelMeter;
        if (control & 0x02) Plugin.DisplayFlags ^= ShowSpectrum;
        Plugin.HostPlaying = control & 0x04;
        const bool vuMeter = control & 0x08;
        if (control & 0x10) Restart(vuMeter ? ModuleVuMeter : ModuleDeduzodo);
        CanvasHeight = vuMeter ? 17 : 46;

        Fills = 0;
        AdvanceLevelFrame();
        LevelMeter(&record, (vuMeter ? VuMeterSkin : DeduzodoSkin).levelBand);
        int expected = (Plugin.DisplayFlags & ShowLevelMeter) ? 4 : 2;
        if (!vuMeter) {
            DrawSpectrum(&record);
            expected += (Plugin.DisplayFlags & ShowSpectrum) ? 174 : 2;
        }
        Require(Fills == expected);
        Require(Meter.LevelFrameIndex >= 1 && Meter.LevelFrameIndex <= 3);
        Require(Meter.Level <= 128 && Meter.LevelPeak >= 1 && Meter.LevelPeak <= 128);
        for (int k = 0; k < 86; ++k) Require(SpectrumView.BarPeak[k] >= 0 && SpectrumView.BarPeak[k] <= 24);
        Require(SpectrumView.BassPeak >= 0 && SpectrumView.BassPeak <= 24);
        for (double value : Analysis.SpectrumRe) Require(std::isfinite(value) && std::fabs(value) <= 32768.0);
        Require(Analysis.SpectrumRe[0] == 0.0);
    }
    return 0;
}
