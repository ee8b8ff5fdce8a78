// Loads a visualization plug-in DLL and finds its one export.
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
};

// False with a message naming the file when it is missing, not a DLL this
// host can load, or has no winampVisGetHeader export. Nothing of the plug-in
// is called: the player asks for the header once its main window is up.
bool LoadPlugin(const std::string& path, LoadedPlugin& plugin, std::string& error);

// The descriptions of the modules, asking the getter from index 0 until it
// returns null.
std::vector<std::string> ModuleNames(winampVisHeader* header);
