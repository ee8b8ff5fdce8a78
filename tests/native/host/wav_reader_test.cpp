// The WAV reader on every supported format and on damaged files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "host/audio/audio_file.h"
#include "host/audio/wav_reader.h"
#include "host/audio/wav_writer.h"

namespace {

const std::vector<double> Values = {0.0, 0.5, -0.5, 0.25, -1.0, 0.999, -0.125, 0.75};

AudioResult Read(const std::vector<uint8_t>& bytes) { return ReadWav(bytes.data(), bytes.size()); }

std::vector<uint8_t> ToneFile(WavShape shape = {}) { return BuildWav(shape, EncodeSamples(shape, Values)); }

void SetU32(std::vector<uint8_t>& bytes, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(value >> (8 * i));
}

void SetU16(std::vector<uint8_t>& bytes, std::size_t at, uint16_t value) {
    bytes[at] = uint8_t(value);
    bytes[at + 1] = uint8_t(value >> 8);
}

// Offsets in the files BuildWav writes.
constexpr std::size_t RiffSize = 4, FormatTag = 20, Channels = 22, Rate = 24, BlockAlign = 32, Bits = 34, DataSize = 40;

struct Format {
    uint16_t tag, bits;
    int tolerance;  // in 16-bit steps: the format's own quantization
};

class WavFormats : public ::testing::TestWithParam<std::tuple<Format, int, uint32_t>> {};

TEST_P(WavFormats, DecodesToSixteenBitFrames) {
    const auto [format, channels, rate] = GetParam();
    const WavShape shape{format.tag, uint16_t(channels), rate, format.bits};
    const AudioResult result = Read(ToneFile(shape));
    ASSERT_TRUE(result.Ok()) << result.error;
    EXPECT_EQ(result.audio.rate, int(rate));
    EXPECT_EQ(result.audio.channels, channels);
    EXPECT_EQ(result.audio.Frames(), int64_t(Values.size()) / channels);
    ASSERT_EQ(result.audio.samples.size(), Values.size());
    for (std::size_t i = 0; i < Values.size(); ++i) {
        const double wanted = std::min(Values[i] * 32768.0, 32767.0);
        EXPECT_NEAR(result.audio.samples[i], wanted, format.tolerance) << "sample " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, WavFormats,
                         ::testing::Combine(::testing::Values(Format{1, 8, 256}, Format{1, 16, 1}, Format{1, 24, 1},
                                                              Format{1, 32, 1}, Format{3, 32, 1}),
                                            ::testing::Values(1, 2), ::testing::Values(8000u, 44100u, 96000u)));

TEST(WavReader, FloatBeyondFullScaleIsClipped) {
    const WavShape shape{3, 1, 44100, 32};
    std::vector<uint8_t> bytes(8);
    const float loud[2] = {3.0f, -7.5f};
    std::memcpy(bytes.data(), loud, sizeof loud);
    const AudioResult result = Read(BuildWav(shape, bytes));
    ASSERT_TRUE(result.Ok()) << result.error;
    EXPECT_EQ(result.audio.samples, (std::vector<int16_t>{32767, -32768}));
}

TEST(WavReader, ExtensibleFormatUsesItsSubFormat) {
    // fmt chunk of 40 bytes with tag 0xFFFE and the float sub-format.
    std::vector<uint8_t> file = ToneFile({3, 2, 48000, 32});
    std::vector<uint8_t> extension(24, 0);
    extension[0] = 22;  // cbSize
    extension[8] = 3;   // sub-format GUID begins with the format tag
    file.insert(file.begin() + 36, extension.begin(), extension.end());
    SetU32(file, 16, 40);
    SetU16(file, FormatTag, 0xFFFE);
    SetU32(file, RiffSize, uint32_t(file.size() - 8));
    const AudioResult result = Read(file);
    ASSERT_TRUE(result.Ok()) << result.error;
    EXPECT_EQ(result.audio.samples[1], 16384);
}

TEST(WavReader, SkipsOtherChunksWithTheirPadding) {
    std::vector<uint8_t> file = ToneFile();
    const uint8_t list[] = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};  // odd size, one pad byte
    file.insert(file.begin() + 36, std::begin(list), std::end(list));
    SetU32(file, RiffSize, uint32_t(file.size() - 8));
    const AudioResult result = Read(file);
    ASSERT_TRUE(result.Ok()) << result.error;
    EXPECT_EQ(result.audio.samples.size(), Values.size());
    EXPECT_EQ(result.audio.samples[1], 16384);
}

TEST(WavReader, TrailingPartialFrameIsDropped) {
    const WavShape shape{1, 2, 44100, 16};
    std::vector<uint8_t> samples = EncodeSamples(shape, Values);
    samples.resize(samples.size() + 2);  // half a frame more
    const AudioResult result = Read(BuildWav(shape, samples));
    ASSERT_TRUE(result.Ok()) << result.error;
    EXPECT_EQ(result.audio.Frames(), 4);
}

void ExpectError(const std::vector<uint8_t>& file, const std::string& part) {
    const AudioResult result = Read(file);
    EXPECT_FALSE(result.Ok());
    EXPECT_NE(result.error.find(part), std::string::npos) << "error: " << result.error;
    EXPECT_TRUE(result.audio.samples.empty());
}

TEST(WavReaderErrors, TruncatedFiles) {
    const std::vector<uint8_t> file = ToneFile();
    ExpectError({file.begin(), file.begin() + 10}, "truncated header");
    ExpectError({file.begin(), file.begin() + 30}, "truncated");  // inside the fmt chunk
    ExpectError({file.begin(), file.end() - 3}, "truncated");     // inside the data
    std::vector<uint8_t> chunkHeaderCut(file.begin(), file.begin() + 40);
    SetU32(chunkHeaderCut, RiffSize, 32);
    ExpectError(chunkHeaderCut, "truncated chunk header");
}

// One header field of a well-formed file changed, and the error it must give.
struct Damage {
    std::size_t offset;
    int width;  // 2 or 4 bytes
    uint32_t value;
    std::string error;
};

void ExpectDamage(const std::vector<Damage>& cases) {
    for (const Damage& damage : cases) {
        std::vector<uint8_t> file = ToneFile();
        if (damage.width == 2) SetU16(file, damage.offset, uint16_t(damage.value));
        else SetU32(file, damage.offset, damage.value);
        ExpectError(file, damage.error);
    }
}

TEST(WavReaderErrors, ChunkSizesBeyondTheFile) {
    ExpectDamage({{DataSize, 4, 1000000, "chunk 'data' claims 1000000 bytes but only 16 remain"},
                  {16, 4, 0xFFFFFFF0u, "chunk 'fmt ' claims"}});
}

TEST(WavReaderErrors, BadFormatFields) {
    ExpectDamage({{Channels, 2, 0, "zero channels"},
                  {Channels, 2, 6, "6 channels; only mono and stereo"},
                  {Rate, 4, 0, "sample rate 0 Hz is outside"},
                  {Rate, 4, 999, "sample rate 999 Hz is outside"},
                  {Rate, 4, 768001, "sample rate 768001 Hz is outside"},
                  {Rate, 4, 0xFFFFFFFFu, "sample rate 4294967295 Hz is outside"},
                  {FormatTag, 2, 2, "unsupported sample format (tag 2"},  // ADPCM
                  {Bits, 2, 12, "unsupported sample format"},
                  {BlockAlign, 2, 3, "block alignment 3"},
                  {16, 4, 14, "fmt chunk is too short"}});
}

TEST(WavReaderErrors, MissingChunks) {
    std::vector<uint8_t> file = ToneFile();
    std::memcpy(file.data() + 36, "junk", 4);
    ExpectError(file, "no data chunk");
    file = ToneFile();
    std::memcpy(file.data() + 12, "junk", 4);
    ExpectError(file, "no fmt chunk");
    file = ToneFile();
    std::memcpy(file.data() + 8, "AVI ", 4);
    ExpectError(file, "not a RIFF WAVE file");
}

class AudioFileTest : public ::testing::Test {
protected:
    // One file per test and process: CTest runs the tests in parallel.
    std::string path = ::testing::TempDir() + "vis_host_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                       std::to_string(getpid()) + ".bin";
    void TearDown() override { std::remove(path.c_str()); }
    AudioResult ReadBytes(const std::vector<uint8_t>& bytes) {
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return ReadAudioFile(path);
    }
};

TEST_F(AudioFileTest, ReadsAWavFromDisk) {
    const AudioResult result = ReadBytes(ToneFile());
    ASSERT_TRUE(result.Ok()) << result.error;
    EXPECT_EQ(result.audio.Frames(), 4);
}

TEST_F(AudioFileTest, ErrorsNameTheFile) {
    std::vector<uint8_t> damaged = ToneFile();
    SetU16(damaged, Channels, 0);
    EXPECT_EQ(ReadBytes(damaged).error, path + ": zero channels");
    EXPECT_EQ(ReadBytes({'I', 'D', '3', 4, 0}).error,
              path + ": unsupported file type; WAV and Ogg Vorbis files are supported");
    EXPECT_EQ(ReadBytes({}).error, path + ": empty file");
    std::remove(path.c_str());
    EXPECT_EQ(ReadAudioFile(path).error, path + ": cannot open the file");
}

}  // namespace
