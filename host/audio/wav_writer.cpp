#include "host/audio/wav_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

namespace {

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

std::vector<uint8_t> BuildWav(const WavShape& shape, const std::vector<uint8_t>& sampleBytes) {
    std::vector<uint8_t> out;
    const uint32_t blockAlign = uint32_t(shape.channels) * shape.bits / 8;
    PutTag(out, "RIFF");
    Put(out, uint32_t(4 + 24 + 8 + sampleBytes.size() + (sampleBytes.size() & 1)), 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put(out, 16, 4);
    Put(out, shape.formatTag, 2);
    Put(out, shape.channels, 2);
    Put(out, shape.rate, 4);
    Put(out, shape.rate * blockAlign, 4);
    Put(out, blockAlign, 2);
    Put(out, shape.bits, 2);
    PutTag(out, "data");
    Put(out, uint32_t(sampleBytes.size()), 4);
    out.insert(out.end(), sampleBytes.begin(), sampleBytes.end());
    if (sampleBytes.size() & 1) out.push_back(0);
    return out;
}

std::vector<uint8_t> EncodeSamples(const WavShape& shape, const std::vector<double>& interleaved) {
    std::vector<uint8_t> out;
    for (double value : interleaved) {
        const double v = std::clamp(value, -1.0, 1.0);
        if (shape.formatTag == 3) {
            const float f = float(v);
            uint32_t bits;
            std::memcpy(&bits, &f, sizeof bits);
            Put(out, bits, 4);
        } else if (shape.bits == 8) {
            out.push_back(uint8_t(std::clamp(std::lround(v * 128.0) + 128, 0L, 255L)));
        } else {
            const double full = std::ldexp(1.0, shape.bits - 1);
            const long long sample =
                std::clamp<long long>(std::llround(v * full), -(long long)full, (long long)full - 1);
            Put(out, uint32_t(sample), shape.bits / 8);
        }
    }
    return out;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}
