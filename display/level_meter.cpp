#include "display/level_meter.h"

#include <cmath>

#include "display/extended_precision.h"
#include "display/masks.h"
#include "display/paint_seam.h"
#include "plugin/plugin_state.h"

LevelMeterState Meter;

namespace {

constexpr int MeasuredSamples = 256;

// Steps one channel through level, peak hold and smoothing, then blackens
// what is unlit. Both channels share one Level, LevelPeak and history; the
// display's character (right peak one lower, left bar mixing in the right
// channel's past) comes from that sharing.
void MeterChannel(const unsigned char* samples, int channel, int top, int bottom) {
    int sum = 0;
    for (int i = 0; i < MeasuredSamples; ++i) {
        sum += std::abs(128 - (samples[i] ^ 0x80));
    }
    Meter.Level = static_cast<uint8_t>(Meter.DecibelTable[sum >> 8]);

    if (Meter.Level > Meter.LevelPeak) {
        Meter.LevelPeak = Meter.Level;
    } else {
        --Meter.LevelPeak;
    }
    if (Meter.LevelPeak < 2) Meter.LevelPeak = 2;

    Meter.LevelHistory[Meter.LevelFrameIndex] = Meter.Level;
    Meter.Level = static_cast<uint8_t>(
        (Meter.LevelHistory[1] + Meter.LevelHistory[2] + Meter.LevelHistory[3]) / 3);

    const int peak = Meter.LevelPeak;
    const int level = Meter.Level;
    if (channel == 0) {
        PaintBlack(7, top, 135 - peak, bottom);
        PaintBlack(137 - peak, top, 135 - level, bottom);
    } else {
        PaintBlack(140 + peak, top, 268, bottom);
        PaintBlack(140 + level, top, 138 + peak, bottom);
    }
}

}  // namespace

void AdvanceLevelFrame() {
    if (++Meter.LevelFrameIndex > 3) Meter.LevelFrameIndex = 1;
}

void LevelMeter(const winampVisModule* module, int bandTop, int bandBottom) {
    if (!(Plugin.DisplayFlags & ShowLevelMeter)) {
        PaintHiddenLevelMeter(bandTop, bandBottom);
        return;
    }
    MeterChannel(module->waveformData[0], 0, bandTop, bandBottom);
    MeterChannel(module->waveformData[1], 1, bandTop, bandBottom);
}

void ResetLevelMeter() {
    Meter.DecibelTable[0] = 0;
    const X87Environment caller = EnterExtendedPrecision();
    for (int i = 1; i <= 130; ++i) {
        Meter.DecibelTable[i] = static_cast<int32_t>(std::nearbyint(60.0L * std::log10(i / 128.0L))) + 128;
    }
    LeaveExtendedPrecision(caller);
    for (int32_t& slot : Meter.LevelHistory) slot = 0;
    Meter.Level = 0;
    Meter.LevelPeak = 1;
    Meter.LevelFrameIndex = 0;
}

void PaintStartupMasks() {
    if (Plugin.ModuleKind == ModuleVuMeter) {
        PaintHiddenLevelMeter(VuMeterBandTop, VuMeterBandBottom);
        return;
    }
    PaintHiddenSpectrum();
    PaintHiddenLevelMeter(AnalyzerBandTop, AnalyzerBandBottom);
}
