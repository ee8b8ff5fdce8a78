// Reads RIFF WAVE files: PCM with 8, 16, 24 or 32 bits and 32-bit float,
// mono or stereo, at any rate.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/audio/pcm_audio.h"

AudioResult ReadWav(const uint8_t* bytes, std::size_t size);
