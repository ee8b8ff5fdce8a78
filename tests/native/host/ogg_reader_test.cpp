// The Ogg Vorbis reader on the committed tones and on damaged copies of them.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "host/audio/ogg_pages.h"
#include "host/audio/ogg_reader.h"

namespace {

std::vector<uint8_t> Committed(const char* name) {
    std::ifstream file(std::string(VIS_SOURCE_DIR) + "/tests/native/data/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

AudioResult Read(const std::vector<uint8_t>& bytes) { return ReadOggVorbis(bytes.data(), bytes.size()); }

struct ChannelShape {
    int peak = 0;
    double hertz = 0;  // from the rising zero crossings
};

ChannelShape Measure(const PcmAudio& audio, int channel) {
    ChannelShape shape;
    int crossings = 0;
    for (int64_t i = 0; i < audio.Frames(); ++i) {
        const int s = audio.samples[i * audio.channels + channel];
        shape.peak = std::max(shape.peak, std::abs(s));
        if (i > 0 && audio.samples[(i - 1) * audio.channels + channel] < 0 && s >= 0) ++crossings;
    }
    shape.hertz = crossings * double(audio.rate) / double(audio.Frames());
    return shape;
}

TEST(OggReader, StereoToneKeepsItsChannelsApart) {
    const AudioResult result = Read(Committed("tone-stereo.ogg"));
    ASSERT_TRUE(result.Ok()) << result.error;
    EXPECT_EQ(result.audio.rate, 22050);
    EXPECT_EQ(result.audio.channels, 2);
    EXPECT_NEAR(double(result.audio.Frames()), 0.3 * 22050, 0.3 * 22050 * 0.02);
    const ChannelShape left = Measure(result.audio, 0), right = Measure(result.audio, 1);
    EXPECT_NEAR(left.peak, 16384, 1600);
    EXPECT_NEAR(right.peak, 8192, 800);
    EXPECT_NEAR(left.hertz, 440, 10);
    EXPECT_NEAR(right.hertz, 660, 10);
}

TEST(OggReader, MonoToneAtEightKilohertz) {
    const AudioResult result = Read(Committed("tone-mono.ogg"));
    ASSERT_TRUE(result.Ok()) << result.error;
    EXPECT_EQ(result.audio.rate, 8000);
    EXPECT_EQ(result.audio.channels, 1);
    EXPECT_NEAR(double(result.audio.Frames()), 2400, 48);
    EXPECT_NEAR(Measure(result.audio, 0).peak, 16384, 1600);
    EXPECT_NEAR(Measure(result.audio, 0).hertz, 440, 10);
}

void ExpectError(const std::vector<uint8_t>& file, const std::string& part) {
    const AudioResult result = Read(file);
    EXPECT_FALSE(result.Ok());
    EXPECT_NE(result.error.find(part), std::string::npos) << "error: " << result.error;
}

TEST(OggReaderErrors, TruncatedAnywhere) {
    const std::vector<uint8_t> file = Committed("tone-stereo.ogg");
    ASSERT_GT(file.size(), 1000u);
    for (std::size_t keep : {std::size_t(20), std::size_t(30), file.size() / 2, file.size() - 1}) {
        ExpectError({file.begin(), file.begin() + keep}, "truncated");
    }
}

TEST(OggReaderErrors, FlippedByteFailsItsChecksum) {
    for (std::size_t at : {std::size_t(60), std::size_t(2000), std::size_t(4000)}) {
        std::vector<uint8_t> file = Committed("tone-stereo.ogg");
        ASSERT_LT(at, file.size());
        file[at] ^= 0x10;
        ExpectError(file, "corrupt");
    }
}

TEST(OggReaderErrors, LastPageWithoutEndOfStreamFlag) {
    std::vector<uint8_t> file = Committed("tone-mono.ogg");
    // Find the last page, clear its end-of-stream flag and fix its checksum.
    std::size_t last = 0;
    for (std::size_t i = 0; i + 4 <= file.size(); ++i)
        if (std::equal(file.begin() + i, file.begin() + i + 4, "OggS")) last = i;
    file[last + 5] &= ~4;
    std::fill(file.begin() + last + 22, file.begin() + last + 26, 0);
    const uint32_t crc = OggChecksum(file.data() + last, file.size() - last);
    for (int i = 0; i < 4; ++i) file[last + 22 + i] = uint8_t(crc >> (8 * i));
    ExpectError(file, "truncated: the stream ends without its final page");
}

// One intact Ogg page whose packet is not a Vorbis header.
std::vector<uint8_t> PageOf(const std::string& packet) {
    std::vector<uint8_t> page = {'O', 'g', 'g', 'S', 0, 2 | 4};
    page.resize(26, 0);
    page.push_back(1);
    page.push_back(uint8_t(packet.size()));
    page.insert(page.end(), packet.begin(), packet.end());
    const uint32_t crc = OggChecksum(page.data(), page.size());
    for (int i = 0; i < 4; ++i) page[22 + i] = uint8_t(crc >> (8 * i));
    return page;
}

TEST(OggReaderErrors, IntactPagesThatHoldNoVorbis) {
    ExpectError(PageOf("OpusHead and more bytes"), "not an Ogg Vorbis stream");
    ExpectError({}, "empty file");
    std::vector<uint8_t> junk = PageOf("x");
    junk[0] = 'X';
    ExpectError(junk, "does not start an Ogg page");
}

TEST(OggChecksum, KnownValue) {
    // CRC-32 with polynomial 0x04C11DB7, start 0, no reflection, no final xor.
    const char text[] = "123456789";
    EXPECT_EQ(OggChecksum(reinterpret_cast<const uint8_t*>(text), 9), 0x89A1897Fu);
}

}  // namespace
