#include "host/audio/wav_reader.h"

#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr uint16_t FormatPcm = 1;
constexpr uint16_t FormatFloat = 3;
constexpr uint16_t FormatExtensible = 0xFFFE;

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

struct Format {
    uint16_t tag = 0;
    int channels = 0;
    uint32_t rate = 0;
    int blockAlign = 0;
    int bits = 0;
};

AudioResult Fail(std::string text) {
    AudioResult result;
    result.error = std::move(text);
    return result;
}

std::string ChunkName(const uint8_t* id) {
    std::string name;
    for (int i = 0; i < 4; ++i) name += (id[i] >= 32 && id[i] < 127) ? char(id[i]) : '?';
    return name;
}

std::string ReadFormat(const uint8_t* p, uint32_t size, Format& format) {
    if (size < 16) return "the fmt chunk is too short (" + std::to_string(size) + " bytes)";
    format.tag = U16(p);
    format.channels = U16(p + 2);
    format.rate = U32(p + 4);
    format.blockAlign = U16(p + 12);
    format.bits = U16(p + 14);
    if (format.tag == FormatExtensible) {
        if (size < 40) return "the extensible fmt chunk is too short (" + std::to_string(size) + " bytes)";
        format.tag = U16(p + 24);  // first two bytes of the sub-format GUID
    }
    std::string shape = CheckStreamShape(format.channels, format.rate);
    if (!shape.empty()) return shape;
    const bool pcm =
        format.tag == FormatPcm && (format.bits == 8 || format.bits == 16 || format.bits == 24 || format.bits == 32);
    const bool real = format.tag == FormatFloat && format.bits == 32;
    if (!pcm && !real) {
        return "unsupported sample format (tag " + std::to_string(format.tag) + ", " + std::to_string(format.bits) +
               " bits); PCM 8/16/24/32-bit and 32-bit float are supported";
    }
    if (format.blockAlign != format.channels * format.bits / 8) {
        return "block alignment " + std::to_string(format.blockAlign) + " does not match " +
               std::to_string(format.channels) + " channels of " + std::to_string(format.bits) + " bits";
    }
    return {};
}

int16_t FloatToSample(float value) {
    if (!(value == value)) return 0;  // NaN
    const float scaled = std::nearbyint(value * 32768.0f);
    if (scaled >= 32767.0f) return 32767;
    if (scaled <= -32768.0f) return -32768;
    return int16_t(scaled);
}

// One sample of the given format as signed 16-bit: the top 16 bits of wider
// integers, unsigned 8-bit recentred, float scaled and clipped.
int16_t ToSample(const uint8_t* p, const Format& format) {
    if (format.tag == FormatFloat) {
        float value;
        const uint32_t bits = U32(p);
        std::memcpy(&value, &bits, sizeof value);
        return FloatToSample(value);
    }
    switch (format.bits) {
    case 8: return int16_t((p[0] - 128) * 256);
    case 16: return int16_t(U16(p));
    case 24: return int16_t(U16(p + 1));
    default: return int16_t(U16(p + 2));
    }
}

}  // namespace

AudioResult ReadWav(const uint8_t* bytes, std::size_t size) {
    if (size < 12) return Fail("truncated header (" + std::to_string(size) + " bytes)");
    if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return Fail("not a RIFF WAVE file");
    const uint64_t riffEnd = uint64_t(U32(bytes + 4)) + 8;
    if (riffEnd > size) {
        return Fail("truncated: the RIFF header claims " + std::to_string(riffEnd) + " bytes, the file has " +
                    std::to_string(size));
    }
    Format format;
    bool haveFormat = false;
    const uint8_t* data = nullptr;
    uint32_t dataSize = 0;
    std::size_t at = 12;
    while (at < riffEnd) {
        if (riffEnd - at < 8) return Fail("truncated chunk header at byte " + std::to_string(at));
        const uint8_t* chunk = bytes + at;
        const uint32_t chunkSize = U32(chunk + 4);
        const uint64_t remaining = riffEnd - at - 8;
        if (chunkSize > remaining) {
            return Fail("chunk '" + ChunkName(chunk) + "' claims " + std::to_string(chunkSize) + " bytes but only " +
                        std::to_string(remaining) + " remain");
        }
        if (std::memcmp(chunk, "fmt ", 4) == 0 && !haveFormat) {
            std::string problem = ReadFormat(chunk + 8, chunkSize, format);
            if (!problem.empty()) return Fail(problem);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0 && !data) {
            data = chunk + 8;
            dataSize = chunkSize;
        }
        at += 8 + uint64_t(chunkSize) + (chunkSize & 1);
    }
    if (!haveFormat) return Fail("no fmt chunk");
    if (!data) return Fail("no data chunk");

    AudioResult result;
    result.audio.rate = int(format.rate);
    result.audio.channels = format.channels;
    const std::size_t frames = dataSize / format.blockAlign;
    const int width = format.bits / 8;
    result.audio.samples.resize(frames * format.channels);
    for (std::size_t i = 0; i < result.audio.samples.size(); ++i) {
        result.audio.samples[i] = ToSample(data + i * width, format);
    }
    return result;
}
