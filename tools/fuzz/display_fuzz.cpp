// Fuzz target: the signal display fed arbitrary waveform bytes, frame after
// frame, with the display flags, the playing state and the module taken
// from the input. Every rectangle it blackens must lie inside the skin, and
// each frame must paint its fixed number of rectangles.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "display/level_meter.h"
#include "display/paint_seam.h"
#include "display/spectrum_analysis.h"
#include "display/spectrum_display.h"
#include "plugin/plugin_state.h"

namespace {

constexpr int SkinWidth = 275;
int SkinHeight = 46;
int Fills = 0;

winampVisModule Record{};

void Check(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

void PaintBlack(int left, int top, int right, int bottom) {
    ++Fills;
    if (right <= left || bottom <= top) return;  // paints nothing
    Check(left >= 0 && top >= 0 && right <= SkinWidth && bottom <= SkinHeight);
}

// Input: one control byte (bits 0-1 display flags, bit 2 playing, bit 3
// VU-Meter), then waveform bytes, 1152 to a frame, the last frame padded
// with zeros; at most eight frames.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = false;
    if (!started) {
        ResetLevelMeter();
        BuildSpectrumTables();
        InitSpectrumDisplay();
        started = true;
    }
    if (size == 0) return 0;
    const uint8_t control = data[0];
    ++data;
    --size;
    Plugin.DisplayFlags = control & 3;
    Plugin.HostPlaying = (control & 4) != 0;
    const bool vuMeter = (control & 8) != 0;
    SkinHeight = vuMeter ? 17 : 46;
    constexpr size_t FrameBytes = sizeof Record.waveformData;
    const size_t frames = size == 0 ? 1 : (size + FrameBytes - 1) / FrameBytes;
    for (size_t frame = 0; frame < frames && frame < 8; ++frame) {
        std::memset(Record.waveformData, 0, FrameBytes);
        const size_t offset = frame * FrameBytes;
        if (offset < size) {
            const size_t count = size - offset < FrameBytes ? size - offset : FrameBytes;
            std::memcpy(Record.waveformData, data + offset, count);
        }
        Fills = 0;
        AdvanceLevelFrame();
        if (vuMeter) {
            LevelMeter(&Record, VuMeterBandTop, VuMeterBandBottom);
        } else {
            LevelMeter(&Record, AnalyzerBandTop, AnalyzerBandBottom);
            DrawSpectrum(&Record);
        }
        const int levelFills = (Plugin.DisplayFlags & ShowLevelMeter) ? 4 : 2;
        const int spectrumFills = vuMeter ? 0 : (Plugin.DisplayFlags & ShowSpectrum) ? 174 : 2;
        Check(Fills == levelFills + spectrumFills);
    }
    return 0;
}
