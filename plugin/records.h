// The player's two records, the library header and the module record, and
// the magic value by which one front-end makes itself known (the queries
// and the rest of the protocol are in player_protocol.h). The layouts are the
// player's visualization interface on 32-bit Windows.
#pragma once

#include <cstddef>
#include <cstdint>

// Opaque handle types, identical to the platform's strict HWND and HINSTANCE,
// so this header stays free of platform headers.
struct HWND__;
struct HINSTANCE__;

#if defined(_WIN32)
#define VIS_CDECL __cdecl
#else
#define VIS_CDECL
#endif

constexpr int WaveformSamples = 576;
// Two channels of signed 8-bit samples; channel 1 follows channel 0.
using WaveformChannels = unsigned char[2][WaveformSamples];

struct winampVisModule {
    const char* description;
    HWND__* hwndParent;
    HINSTANCE__* hDllInstance;
    int32_t sRate;
    int32_t nCh;
    int32_t latencyMs;
    int32_t delayMs;
    int32_t spectrumNch;
    int32_t waveformNch;
    WaveformChannels spectrumData;
    WaveformChannels waveformData;
    void(VIS_CDECL* Config)(winampVisModule* module);
    int32_t(VIS_CDECL* Init)(winampVisModule* module);
    int32_t(VIS_CDECL* Render)(winampVisModule* module);
    void(VIS_CDECL* Quit)(winampVisModule* module);
    void* userData;
};

struct winampVisHeader {
    int32_t version;
    const char* description;
    winampVisModule*(VIS_CDECL* getModule)(int32_t index);
};

// userData of the special host: 'Q', 'O', 'X', 0 little-endian, the value
// itself rather than a pointer to text.
constexpr uintptr_t HostMagic = 'Q' | ('O' << 8) | ('X' << 16);

inline bool HasHostMagic(const winampVisModule* module) {
    return reinterpret_cast<uintptr_t>(module->userData) == HostMagic;
}

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(winampVisHeader) == 12, "header size");
static_assert(offsetof(winampVisHeader, version) == 0, "version");
static_assert(offsetof(winampVisHeader, description) == 4, "description");
static_assert(offsetof(winampVisHeader, getModule) == 8, "getModule");

static_assert(sizeof(winampVisModule) == 2360, "module size");
static_assert(offsetof(winampVisModule, description) == 0, "description");
static_assert(offsetof(winampVisModule, hwndParent) == 4, "hwndParent");
static_assert(offsetof(winampVisModule, hDllInstance) == 8, "hDllInstance");
static_assert(offsetof(winampVisModule, sRate) == 12, "sRate");
static_assert(offsetof(winampVisModule, nCh) == 16, "nCh");
static_assert(offsetof(winampVisModule, latencyMs) == 20, "latencyMs");
static_assert(offsetof(winampVisModule, delayMs) == 24, "delayMs");
static_assert(offsetof(winampVisModule, spectrumNch) == 28, "spectrumNch");
static_assert(offsetof(winampVisModule, waveformNch) == 32, "waveformNch");
static_assert(offsetof(winampVisModule, spectrumData) == 36, "spectrumData");
static_assert(offsetof(winampVisModule, waveformData) == 1188, "waveformData");
static_assert(offsetof(winampVisModule, Config) == 2340, "Config");
static_assert(offsetof(winampVisModule, Init) == 2344, "Init");
static_assert(offsetof(winampVisModule, Render) == 2348, "Render");
static_assert(offsetof(winampVisModule, Quit) == 2352, "Quit");
static_assert(offsetof(winampVisModule, userData) == 2356, "userData");
#endif
