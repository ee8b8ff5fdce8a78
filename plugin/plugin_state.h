// Process-wide plug-in state that every subsystem shares. Platform handles
// live in WindowState (window/window_state.h); this part is platform-free so
// the signal display can read it in native builds.
#pragma once

#include <cstdint>

// DisplayFlags bits.
constexpr uint8_t ShowLevelMeter = 1;
constexpr uint8_t ShowSpectrum = 2;

// DockMode bits.
constexpr uint8_t DockAttached = 1;
constexpr uint8_t DockAtTop = 2;
constexpr uint8_t DockOnTop = 4;

enum : uint8_t { ModuleNone = 0, ModuleDeduzodo = 1, ModuleVuMeter = 2 };

struct PluginState {
    uint8_t ModuleKind = ModuleNone;
    uint8_t DisplayFlags = ShowLevelMeter | ShowSpectrum;
    uint8_t DockMode = DockAttached;
    bool DoubleSize = false;
    bool SpecialHost = false;
    bool Dragging = false;
    bool HostPlaying = false;
    int32_t WindowX = 0;
    int32_t WindowY = 0;
    int32_t WindowWidth = 0;
    int32_t WindowHeight = 0;
};

extern PluginState Plugin;
