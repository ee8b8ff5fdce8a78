#include "host/audio/audio_file.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "host/audio/ogg_reader.h"
#include "host/audio/wav_reader.h"

AudioResult ReadAudioFile(const std::string& path) {
    AudioResult result;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        result.error = path + ": cannot open the file";
        return result;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        result.error = path + ": cannot read the file";
        return result;
    }
    if (bytes.empty()) {
        result.error = path + ": empty file";
        return result;
    }
    if (bytes.size() >= 4 && std::memcmp(bytes.data(), "RIFF", 4) == 0) {
        result = ReadWav(bytes.data(), bytes.size());
    } else if (bytes.size() >= 4 && std::memcmp(bytes.data(), "OggS", 4) == 0) {
        result = ReadOggVorbis(bytes.data(), bytes.size());
    } else {
        result.error = "unsupported file type; WAV and Ogg Vorbis files are supported";
    }
    if (!result.Ok()) result.error = path + ": " + result.error;
    return result;
}
