// Shared pieces of the tests that run vis_host.exe: test clips and frames.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <string>

#include "host/audio/wav_writer.h"
#include "tests/wine/host_runner.h"

// A 16-bit stereo clip at 44100 Hz whose samples come from sample(frame, channel) in -1..1.
inline std::string WriteClip(const std::string& folder, const std::string& name, double seconds,
                             const std::function<double(int, int)>& sample) {
    const WavShape shape;
    std::vector<double> samples;
    const int frames = int(seconds * shape.rate);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < 2; ++c) samples.push_back(sample(i, c));
    const std::string path = folder + "\\" + name;
    EXPECT_TRUE(WriteFileBytes(path, BuildWav(shape, EncodeSamples(shape, samples))));
    return path;
}

inline double Sine(int frame, double hertz, double amplitude) {
    return amplitude * std::sin(2 * 3.14159265358979323846 * hertz * frame / 44100.0);
}

struct Pixel {
    int red, green, blue;
};

inline Pixel At(const RgbImage& image, int x, int y) {
    const std::size_t i = (std::size_t(y) * image.width + x) * 3;
    return {image.pixels[i], image.pixels[i + 1], image.pixels[i + 2]};
}

inline bool Lit(const RgbImage& image, int x, int y) {
    const Pixel p = At(image, x, y);
    return p.red || p.green || p.blue;
}

inline bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Two threads that keep both cores busy while they live: a capture beside
// them runs slower than the song, never differently.
class CpuHog {
public:
    CpuHog() {
        for (HANDLE& t : threads_) t = CreateThread(nullptr, 0, Spin, &stop_, 0, nullptr);
    }
    ~CpuHog() {
        stop_ = true;
        for (HANDLE t : threads_) WaitForSingleObject(t, INFINITE), CloseHandle(t);
    }
    CpuHog(const CpuHog&) = delete;
    CpuHog& operator=(const CpuHog&) = delete;

private:
    static DWORD WINAPI Spin(void* stop) {
        volatile unsigned sink = 0;
        while (!*static_cast<std::atomic<bool>*>(stop)) sink = sink + 1;
        return 0;
    }
    std::atomic<bool> stop_{false};
    HANDLE threads_[2];
};

// Frames 1..count of two captures are the same byte for byte.
inline void ExpectSameFrames(const std::string& first, const std::string& second, int count) {
    for (int frame = 1; frame <= count; ++frame)
        EXPECT_TRUE(ReadPng(FramePath(first, frame)).pixels == ReadPng(FramePath(second, frame)).pixels)
            << "frame " << frame << " differs between " << first << " and " << second;
}
