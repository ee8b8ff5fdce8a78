// The seeds a captured plug-in gives the C runtimes' random numbers. A
// plug-in seeds from the clock, which is the song's, but often mixes in its
// thread's id (AVS does), which differs from run to run: each seed is made
// anew from the song's time and the number of seeds asked before, so that
// the same song gives the same random numbers on every run.
#include <windows.h>

#include "host/win/import_hooks.h"
#include "host/win/song_time.h"
#include "host/win/time_hooks.h"

namespace {

using Srand = void(__cdecl*)(unsigned);

constexpr int Runtimes = 10;
void* Platform[Runtimes];
LONG Seeds = 0;

unsigned SongSeed() {
    // A spread of the song's milliseconds and the seed's number (Knuth's
    // multiplicative hash), never the same for two seeds of one run.
    const uint64_t milliseconds = ReadSongClock().milliseconds;
    const unsigned count = unsigned(InterlockedIncrement(&Seeds));
    return unsigned(milliseconds) * 2654435761u ^ count * 40503u;
}

template <int Runtime>
void __cdecl HookSrand(unsigned) {
    if (auto seed = reinterpret_cast<Srand>(Platform[Runtime])) seed(SongSeed());
}

const ImportHook Hooks[] = {
    {"msvcrt.dll", "srand", reinterpret_cast<void*>(HookSrand<0>), &Platform[0]},
    {"msvcr70.dll", "srand", reinterpret_cast<void*>(HookSrand<1>), &Platform[1]},
    {"msvcr71.dll", "srand", reinterpret_cast<void*>(HookSrand<2>), &Platform[2]},
    {"msvcr80.dll", "srand", reinterpret_cast<void*>(HookSrand<3>), &Platform[3]},
    {"msvcr90.dll", "srand", reinterpret_cast<void*>(HookSrand<4>), &Platform[4]},
    {"msvcr100.dll", "srand", reinterpret_cast<void*>(HookSrand<5>), &Platform[5]},
    {"msvcr110.dll", "srand", reinterpret_cast<void*>(HookSrand<6>), &Platform[6]},
    {"msvcr120.dll", "srand", reinterpret_cast<void*>(HookSrand<7>), &Platform[7]},
    {"ucrtbase.dll", "srand", reinterpret_cast<void*>(HookSrand<8>), &Platform[8]},
    {"api-ms-win-crt-utility-l1-1-0.dll", "srand", reinterpret_cast<void*>(HookSrand<9>), &Platform[9]},
};
static_assert(sizeof Hooks / sizeof Hooks[0] == Runtimes, "a slot for each runtime");

}  // namespace

void AddSeedHooks() { AddImportHooks(Hooks, sizeof Hooks / sizeof Hooks[0]); }
