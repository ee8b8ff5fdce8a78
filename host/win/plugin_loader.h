// Loads a visualization plug-in DLL and reaches it through its one export.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "plugin/records.h"

struct LoadedPlugin {
    HMODULE module = nullptr;
    winampVisHeader* header = nullptr;
};

// False with a message naming the file when it is missing, not a DLL this
// host can load, or has no winampVisGetHeader export giving a header.
bool LoadPlugin(const std::string& path, LoadedPlugin& plugin, std::string& error);

// The descriptions of the modules, asking the getter from index 0 until it
// returns null.
std::vector<std::string> ModuleNames(winampVisHeader* header);
