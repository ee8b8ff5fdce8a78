// The per-module settings in "plugin.ini" next to the library: DockMode,
// WindowX and WindowY under "Mode", "X" and "Y".
#pragma once

#include "plugin/records.h"

// Fills buffer (SettingsPathSize characters) with the path of the settings
// file and returns it.
char* SettingsPath(const winampVisModule* module, char* buffer);

// Loads "Mode", and "X" and "Y" only when the Mode just read leaves the
// window free. Every missing key keeps the value in memory.
void ReadSettings(const winampVisModule* module);

// Stores "Mode", "X" and "Y", in that order, whatever DockMode holds.
// Write failures are ignored.
void WriteSettings(const winampVisModule* module);
