// The plug-in's state: one instance for the life of the library, `Plugin`.
// Start-up fills it, every render steps it, shut-down releases its handles;
// what start-up does not reset keeps its value from one run to the next (the
// dock mode and position, the bass peak).
#pragma once

#include <windows.h>

#include <cstdint>

#include "display/level_meter.h"
#include "display/paint_list.h"
#include "display/spectrum_analysis.h"
#include "display/spectrum_display.h"
#include "settings/settings_file.h"

enum : uint8_t { ModuleNone = 0, ModuleDeduzodo = 1, ModuleVuMeter = 2 };

// DisplayFlags bits.
constexpr uint8_t ShowLevelMeter = 1;
constexpr uint8_t ShowSpectrum = 2;

constexpr UINT_PTR RenderTimerId = 1001;

// A left-button press that this window saw, from the press to its release
// or to the loss of the mouse capture.
struct DragState {
    bool Dragging = false;
    POINT DragOrigin = {};  // the client point of the press
};

// What the window shows: the skin with these fills, presented at this size.
// Valid only while `current`; a render whose picture equals it draws nothing.
struct ShownPicture {
    bool current = false;
    bool doubleSize = false;
    int32_t width = 0, height = 0;
    PaintList fills;  // only rectangles that paint something
};

struct PluginInstance {
    // The module that the player's last getter call named.
    uint8_t ModuleKind = ModuleNone;
    uint8_t DisplayFlags = ShowLevelMeter | ShowSpectrum;
    // The dock mode and the window position, read at start-up and written at
    // shut-down.
    WindowSettings Settings;
    bool DoubleSize = false;
    bool SpecialHost = false;
    bool HostPlaying = false;
    int32_t WindowWidth = 0;
    int32_t WindowHeight = 0;

    HWND HostWindow = nullptr;
    HWND PluginWindow = nullptr;
    HMENU PopupMenu = nullptr;
    RECT LastHostRect = {};
    // Set by a confirmed configuration: the next frame docks anew whatever
    // the player window's rectangle is.
    bool ForceDocking = false;
    DragState Drag;

    HDC CanvasDC = nullptr;
    HDC SkinDC = nullptr;
    HBITMAP CanvasBitmap = nullptr;
    HBITMAP PristineBitmap = nullptr;
    HBRUSH BlackBrush = nullptr;
    // What each surface held before our objects were selected into it.
    HGDIOBJ CanvasSavedBitmap = nullptr;
    HGDIOBJ CanvasSavedBrush = nullptr;
    HGDIOBJ SkinSavedBitmap = nullptr;
    // A window that shut-down could not destroy, detached from the plug-in.
    HWND LeftoverWindow = nullptr;
    // The instance the window class was registered for, while it is.
    HINSTANCE ClassInstance = nullptr;

    LevelMeterState meter;
    SpectrumAnalysisState analysis;
    SpectrumDisplayState spectrum;
    ShownPicture shown;
};

extern PluginInstance Plugin;
