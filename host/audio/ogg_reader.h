// Reads Ogg Vorbis files through stb_vorbis, after checking that every Ogg
// page is complete and intact, so that damage is reported rather than heard.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/audio/pcm_audio.h"

AudioResult ReadOggVorbis(const uint8_t* bytes, std::size_t size);
