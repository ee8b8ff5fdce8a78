// Which of the files beside a plug-in's DLL vis_host copies into the Plugins
// folder of its settings folder. The player's plug-ins keep their settings
// and data there, named after themselves: AVS its vis_avs.dat and an avs
// folder of presets, MilkDrop its milk2*.ini files and a milkdrop2 folder.
// A user's own files that happen to lie beside a downloaded plug-in (songs,
// videos, pictures, logs) are none of that, and nothing large is.
#pragma once

#include <cstdint>
#include <string>

// A file is copied that is small and holds settings or data: an .ini, .dat,
// .cfg or .txt file; inside a data folder (below), any small file that is
// neither code nor audio, video or a picture.
constexpr uint64_t PluginFileMaxBytes = 1024 * 1024;
bool CopiesPluginFile(const std::string& name, uint64_t bytes, bool insideDataFolder);

// A folder beside the DLL is the plug-in's data folder when it is named
// after it: its name starts with the DLL's name, less "vis_" and the
// extension and any trailing digits ("avs" for vis_avs.dll, "milkdrop2" for
// vis_milk2.dll).
bool IsPluginDataFolder(const std::string& dllName, const std::string& folder);

// What the copies of one plug-in may take in all.
constexpr uint64_t PluginCopyBudgetBytes = 64 * 1024 * 1024;
