#include "host/audio/pcm_audio.h"

std::string CheckStreamShape(int channels, long long rate) {
    if (channels == 0) return "zero channels";
    if (channels > 2) return std::to_string(channels) + " channels; only mono and stereo are supported";
    if (rate < MinSampleRate || rate > MaxSampleRate) {
        return "sample rate " + std::to_string(rate) + " Hz is outside " + std::to_string(MinSampleRate) + ".." +
               std::to_string(MaxSampleRate) + " Hz";
    }
    return {};
}
