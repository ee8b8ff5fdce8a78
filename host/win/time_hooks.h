// The hooks that put a captured plug-in on the song's clock, a file each:
// its clocks, its sleeps and waits, its timers, the libraries it loads
// (which are hooked in turn) and the threads it starts.
#pragma once

void AddClockHooks();
void AddWaitHooks();
void AddTimerHooks();
void AddModuleHooks();
void AddThreadHooks();
