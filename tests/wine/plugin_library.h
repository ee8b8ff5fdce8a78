// Loads the built plug-in DLL, which lies next to the test program, and
// reaches it only through its export, as the player does.
#pragma once

#include <windows.h>

#include "plugin/records.h"

struct PluginLibrary {
    HMODULE module = nullptr;
    winampVisHeader* (*getHeader)() = nullptr;
};

// Loads vis_kt.dll once per process; fails the calling test when it cannot.
PluginLibrary& LoadPluginLibrary();
