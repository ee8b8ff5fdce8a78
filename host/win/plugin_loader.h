// Loads a visualization plug-in DLL and reaches it through its one export.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "plugin/records.h"

// The export takes the player's main window; one that takes nothing is
// unharmed, since the caller cleans the stack.
using GetHeaderFunction = winampVisHeader*(VIS_CDECL*)(HWND player);

struct LoadedPlugin {
    HMODULE module = nullptr;
    GetHeaderFunction getHeader = nullptr;
    winampVisHeader* header = nullptr;  // asked before the player window exists
};

// False with a message naming the file when it is missing, not a DLL this
// host can load, or has no winampVisGetHeader export giving a header.
bool LoadPlugin(const std::string& path, LoadedPlugin& plugin, std::string& error);

// The descriptions of the modules, asking the getter from index 0 until it
// returns null.
std::vector<std::string> ModuleNames(winampVisHeader* header);
