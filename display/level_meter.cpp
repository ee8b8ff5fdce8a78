#include "display/level_meter.h"

#include <cmath>

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
    // The left bar's columns count from LeftBarInner outwards, the right
    // bar's from the column after RightBarInner.
    if (channel == 0) {
        PaintBlack(LeftBarOuter, top, LeftBarInner - peak, bottom);
        PaintBlack(LeftBarInner + PeakMarkWidth - peak, top, LeftBarInner - level, bottom);
    } else {
        PaintBlack(RightBarInner + 1 + peak, top, RightLevelBar.right, bottom);
        PaintBlack(RightBarInner + 1 + level, top, RightBarInner + 1 - PeakMarkWidth + peak, bottom);
    }
}

}  // namespace

void AdvanceLevelFrame() {
    if (++Meter.LevelFrameIndex > 3) Meter.LevelFrameIndex = 1;
}

void LevelMeter(const winampVisModule* module, Rows band) {
    if (!(Plugin.DisplayFlags & ShowLevelMeter)) {
        PaintHiddenLevelMeter(band);
        return;
    }
    MeterChannel(module->waveformData[0], 0, band.top, band.bottom);
    MeterChannel(module->waveformData[1], 1, band.top, band.bottom);
}

void ResetLevelMeter() {
    Meter.DecibelTable[0] = 0;
    for (int i = 1; i <= 130; ++i) {
        Meter.DecibelTable[i] = static_cast<int32_t>(std::nearbyint(60.0 * std::log10(i / 128.0))) + 128;
    }
    for (int32_t& slot : Meter.LevelHistory) slot = 0;
    Meter.Level = 0;
    Meter.LevelPeak = 1;
    Meter.LevelFrameIndex = 0;
}

void PaintStartupMasks() {
    const ModuleSkin& skin = Plugin.ModuleKind == ModuleVuMeter ? VuMeterSkin : DeduzodoSkin;
    if (skin.hasSpectrum) PaintHiddenSpectrum();
    PaintHiddenLevelMeter(skin.levelBand);
}
