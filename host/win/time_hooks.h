// The hooks that put a captured plug-in on the song's clock, a file each:
// its clocks, its sleeps and waits, its timers, the libraries it loads
// (which are hooked in turn), the threads it starts and the seeds of its
// random numbers.
#pragma once

void AddClockHooks();
void AddWaitHooks();
void AddTimerHooks();
void AddModuleHooks();
void AddThreadHooks();
void AddSeedHooks();
