// The player keeps its plug-ins in Plugins beside its ini file, and some
// plug-ins look for their files there (AVS reads its preset, vis_avs.dat,
// from the ini file's folder\Plugins in Init and writes it back in Quit).
// vis_host's settings folder gets a Plugins folder of the same kind.
#pragma once

#include <string>

// Copies what the plug-in keeps beside its DLL (host/core/plugin_file_rule.h)
// into pluginsFolder where the copy is missing or older, so that what the
// plug-in saved there stays until its file beside the DLL changes. False
// with the reason when the folder cannot be made.
bool MirrorPluginFiles(const std::string& pluginFolder, const std::string& dllName, const std::string& pluginsFolder,
                       std::string& error);
