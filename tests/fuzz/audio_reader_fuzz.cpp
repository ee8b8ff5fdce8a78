// Fuzzes the stand-in player's WAV and Ogg Vorbis readers with any bytes:
// either a clear error or audio of a shape the player can play.
#include <cstddef>
#include <cstdint>

#include "host/audio/ogg_reader.h"
#include "host/audio/wav_reader.h"

namespace {

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

void CheckResult(const AudioResult& result) {
    if (!result.Ok()) return;
    Require(result.audio.channels == 1 || result.audio.channels == 2);
    Require(result.audio.rate >= MinSampleRate && result.audio.rate <= MaxSampleRate);
    Require(result.audio.samples.size() % result.audio.channels == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckResult(ReadWav(data, size));
    CheckResult(ReadOggVorbis(data, size));
    return 0;
}
