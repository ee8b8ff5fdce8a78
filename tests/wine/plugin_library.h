// Loads the built plug-in DLL, which lies next to the test program, and
// reaches it only through its export, as the player does.
#pragma once

#include <windows.h>

#include "plugin/records.h"

struct PluginLibrary {
    HMODULE module = nullptr;
    winampVisHeader* (*getHeader)() = nullptr;
};

// Loads vis_kt.dll, or returns the library loaded before; fails the calling
// test when it cannot.
PluginLibrary& LoadPluginLibrary();
// Frees the library, so that the next load starts from its initial state as
// the player's next start of a plug-in does (the cases of a test program
// share one process).
void UnloadPluginLibrary();
