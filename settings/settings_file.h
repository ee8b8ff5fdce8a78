// The per-module settings in "plugin.ini" next to the library: the dock mode
// and the free window position under "Mode", "X" and "Y".
#pragma once

#include <cstdint>

#include "plugin/records.h"

// Dock mode bits; other bits pass through unchanged.
constexpr uint8_t DockAttached = 1;  // docked to the player window
constexpr uint8_t DockAtTop = 2;     // at its top edge, otherwise at its bottom
constexpr uint8_t DockOnTop = 4;     // always on top

// What the file stores, as the plug-in holds it in memory. The defaults are
// the values at load: docked at the bottom, free position (0, 0).
struct WindowSettings {
    uint8_t dockMode = DockAttached;
    int32_t x = 0;
    int32_t y = 0;
};

// Fills buffer (SettingsPathSize characters) with the path of the settings
// file and returns it.
char* SettingsPath(const winampVisModule* module, char* buffer);

// current with "Mode" loaded, and "X" and "Y" only when the mode just read
// leaves the window free. Every missing key keeps the value of current.
WindowSettings ReadSettings(const winampVisModule* module, const WindowSettings& current);

// Stores "Mode", "X" and "Y", in that order, whatever the mode holds.
// Write failures are ignored.
void WriteSettings(const winampVisModule* module, const WindowSettings& settings);
