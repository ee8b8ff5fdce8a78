// The record layout the host fills: 576 signed 8-bit samples per channel.
#include <gtest/gtest.h>

#include <cstring>

#include "host/core/waveform.h"

namespace {

TEST(WaveformByte, IsTheHighByteOfTheSixteenBitSample) {
    const std::pair<int16_t, int> cases[] = {{0, 0},   {255, 0},   {256, 1},   {32767, 127}, {-32768, -128},
                                             {-1, -1}, {-256, -1}, {-257, -2}, {0x4000, 64}, {-0x4000, -64}};
    for (const auto& [sample, wanted] : cases) {
        EXPECT_EQ(static_cast<signed char>(ToWaveformByte(sample)), wanted) << sample;
    }
}

PcmAudio Ramp(int channels, int frames) {
    PcmAudio audio;
    audio.rate = 44100;
    audio.channels = channels;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) audio.samples.push_back(int16_t(((i % 100) + 100 * c) * 256));
    return audio;
}

TEST(FillWaveform, StereoFromThePosition) {
    const PcmAudio audio = Ramp(2, 2000);
    unsigned char waveform[2][WaveformSamples];
    FillWaveform(audio, 1000, waveform);
    for (int i = 0; i < WaveformSamples; ++i) {
        ASSERT_EQ(waveform[0][i], (1000 + i) % 100) << i;
        ASSERT_EQ(waveform[1][i], (1000 + i) % 100 + 100) << i;
    }
}

TEST(FillWaveform, MonoGoesToBothChannels) {
    const PcmAudio audio = Ramp(1, 1000);
    unsigned char waveform[2][WaveformSamples];
    FillWaveform(audio, 7, waveform);
    for (int i = 0; i < WaveformSamples; ++i) {
        ASSERT_EQ(waveform[0][i], (7 + i) % 100) << i;
        ASSERT_EQ(waveform[1][i], waveform[0][i]) << i;
    }
}

TEST(FillWaveform, OutsideTheAudioIsSilence) {
    const PcmAudio audio = Ramp(2, 700);
    unsigned char waveform[2][WaveformSamples];
    std::memset(waveform, 0x55, sizeof waveform);
    FillWaveform(audio, 600, waveform);  // 100 frames left
    for (int i = 0; i < WaveformSamples; ++i) {
        ASSERT_EQ(waveform[0][i], i < 100 ? (600 + i) % 100 : 0) << i;
        ASSERT_EQ(waveform[1][i], i < 100 ? (600 + i) % 100 + 100 : 0) << i;
    }
    FillWaveform(audio, -10, waveform);
    EXPECT_EQ(waveform[0][9], 0);
    EXPECT_EQ(waveform[1][10], 100);
    FillWaveform(PcmAudio{}, 0, waveform);
    EXPECT_EQ(waveform[0][0], 0);
    EXPECT_EQ(waveform[1][575], 0);
}

}  // namespace
