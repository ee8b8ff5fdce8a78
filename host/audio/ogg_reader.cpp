#include "host/audio/ogg_reader.h"

#include <climits>

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include "host/audio/ogg_pages.h"

namespace {

const char* VorbisProblem(int code) {
    switch (code) {
    case VORBIS_outofmem: return "out of memory";
    case VORBIS_missing_capture_pattern:
    case VORBIS_invalid_stream_structure_version:
    case VORBIS_invalid_first_page: return "not an Ogg Vorbis stream";
    case VORBIS_invalid_setup:
    case VORBIS_invalid_stream: return "corrupt Vorbis headers";
    case VORBIS_unexpected_eof: return "truncated Vorbis headers";
    case VORBIS_continued_packet_flag_invalid:
    case VORBIS_incorrect_stream_serial_number:
    case VORBIS_bad_packet_type: return "corrupt Vorbis stream";
    case VORBIS_feature_not_supported: return "uses a Vorbis feature the decoder lacks";
    default: return "cannot be decoded";
    }
}

}  // namespace

AudioResult ReadOggVorbis(const uint8_t* bytes, std::size_t size) {
    AudioResult result;
    if (size > std::size_t(INT_MAX)) {
        result.error = "too large for the Vorbis decoder";
        return result;
    }
    result.error = CheckOggPages(bytes, size);
    if (!result.Ok()) return result;
    int code = 0;
    stb_vorbis* decoder = stb_vorbis_open_memory(bytes, int(size), &code, nullptr);
    if (!decoder) {
        result.error = VorbisProblem(code);
        return result;
    }
    const stb_vorbis_info info = stb_vorbis_get_info(decoder);
    result.error = CheckStreamShape(info.channels, info.sample_rate);
    if (result.Ok()) {
        result.audio.rate = int(info.sample_rate);
        result.audio.channels = info.channels;
        const unsigned int expected = stb_vorbis_stream_length_in_samples(decoder);
        result.audio.samples.reserve(std::size_t(expected) * info.channels);
        short block[4096];
        for (;;) {
            const int frames = stb_vorbis_get_samples_short_interleaved(decoder, info.channels, block, 4096);
            if (frames <= 0) break;
            result.audio.samples.insert(result.audio.samples.end(), block, block + frames * info.channels);
        }
        const int failure = stb_vorbis_get_error(decoder);
        if (failure != VORBIS__no_error && failure != VORBIS_unexpected_eof) result.error = VorbisProblem(failure);
    }
    stb_vorbis_close(decoder);
    return result;
}
