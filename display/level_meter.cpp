#include "display/level_meter.h"

#include <cmath>

#include "display/extended_precision.h"
#include "display/masks.h"

namespace {

constexpr int MeasuredSamples = 256;

// Level, peak hold and smoothing for one channel. Both channels share one
// Level, LevelPeak and history; the display's character (right peak one
// lower, left bar mixing in the right channel's past) comes from that
// sharing.
void StepChannel(LevelMeterState& meter, const unsigned char* samples, int channel) {
    int sum = 0;
    for (int i = 0; i < MeasuredSamples; ++i) {
        sum += std::abs(128 - (samples[i] ^ 0x80));
    }
    meter.Level = static_cast<uint8_t>(meter.DecibelTable[sum >> 8]);

    if (meter.Level > meter.LevelPeak) {
        meter.LevelPeak = meter.Level;
    } else {
        --meter.LevelPeak;
    }
    if (meter.LevelPeak < 2) meter.LevelPeak = 2;

    meter.LevelHistory[meter.LevelFrameIndex] = meter.Level;
    meter.Level = static_cast<uint8_t>((meter.LevelHistory[1] + meter.LevelHistory[2] + meter.LevelHistory[3]) / 3);

    meter.DrawnPeak[channel] = meter.LevelPeak;
    meter.DrawnLevel[channel] = meter.Level;
}

// Steps the left channel, then the right one, from the first 256 samples of
// each.
void StepLevelMeter(LevelMeterState& meter, const WaveformChannels& samples) {
    StepChannel(meter, samples[0], 0);
    StepChannel(meter, samples[1], 1);
}

void PaintLevelMeter(const LevelMeterState& meter, Rows band, PaintList& paint) {
    // Everything beyond the peak mark, then the gap between the mark and the
    // bar. The left bar's columns count from LeftBarInner outwards, the right
    // bar's from the column after RightBarInner.
    const int leftPeak = meter.DrawnPeak[0], leftLevel = meter.DrawnLevel[0];
    paint.Add(LeftBarOuter, band.top, LeftBarInner - leftPeak, band.bottom);
    paint.Add(LeftBarInner + PeakMarkWidth - leftPeak, band.top, LeftBarInner - leftLevel, band.bottom);
    const int rightPeak = meter.DrawnPeak[1], rightLevel = meter.DrawnLevel[1];
    paint.Add(RightBarInner + 1 + rightPeak, band.top, RightLevelBar.right, band.bottom);
    paint.Add(RightBarInner + 1 + rightLevel, band.top, RightBarInner + 1 - PeakMarkWidth + rightPeak, band.bottom);
}

}  // namespace

void DrawLevelMeter(LevelMeterState& meter, const WaveformChannels& samples, bool shown, Rows band, PaintList& paint) {
    // The history ring moves on every frame, shown or not.
    if (++meter.LevelFrameIndex > 3) meter.LevelFrameIndex = 1;
    if (!shown) {
        PaintHiddenLevelMeter(band, paint);
        return;
    }
    StepLevelMeter(meter, samples);
    PaintLevelMeter(meter, band, paint);
}

void ResetLevelMeter(LevelMeterState& meter) {
    meter.DecibelTable[0] = 0;
    const X87Environment caller = EnterExtendedPrecision();
    for (int i = 1; i <= 130; ++i) {
        meter.DecibelTable[i] = static_cast<int32_t>(std::nearbyint(60.0L * std::log10(i / 128.0L))) + 128;
    }
    LeaveExtendedPrecision(caller);
    for (int32_t& slot : meter.LevelHistory) slot = 0;
    meter.Level = 0;
    meter.LevelPeak = 1;
    meter.LevelFrameIndex = 0;
}
