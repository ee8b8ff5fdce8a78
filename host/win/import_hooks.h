// The platform functions the host answers in a plug-in's stead while it
// captures: clocks, waits, timers, threads and presents. Each file of hooks
// names its functions in a table; the slots of the plug-in's import tables,
// and of every module it loads that is not the platform's, are pointed at
// them. The host's own code keeps calling the platform.
#pragma once

#include <windows.h>

#include <cstddef>

struct ImportHook {
    const char* dll;       // the library that exports it, lower case: "kernel32.dll"
    const char* function;  // its exported name
    void* replacement;
    void** original;  // set to the platform's function before any slot points at the hook
};

// Adds a table of hooks; before HookPluginModules. The table outlives the run.
void AddImportHooks(const ImportHook* hooks, std::size_t count);

// Points the slots of the plug-in's module at the hooks, and of every module
// that is loaded later and lies outside the Windows folder (the libraries a
// plug-in brings along: AVS's effects, MilkDrop's helpers). Safe to call again.
void HookPluginModules(HMODULE plugin);

// Patches the modules that appeared since the last call (a LoadLibrary hook
// calls it after the library is in).
void HookNewModules();

// What GetProcAddress should give the plug-in for a function of `library`:
// the hook where there is one, else `found`.
FARPROC HookedProcAddress(HMODULE library, const char* name, FARPROC found);
