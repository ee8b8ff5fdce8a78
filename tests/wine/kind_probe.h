// kind_probe.dll: plug-ins that show their frames as the player's other
// plug-ins do, to try a host's capture on each way (see kind_probe.cpp).
#pragma once

#include <windows.h>

#include "plugin/player_protocol.h"
#include "tests/wine/probe_log.h"

constexpr int ProbeBands = 8;
// The 3D modules leave the top 1/ProbeTopStrip of their picture black, so
// that a frame read upside down shows.
constexpr int ProbeTopStrip = 8;

// What one Render shows: vertical bands, each coloured from the samples it
// was handed and the Render's number, so that every frame differs.
struct BandPicture {
    COLORREF colours[ProbeBands];
};

BandPicture PictureOf(const winampVisModule* module, int render);

// A shown child of the embed frame the player makes, asked for as its
// plug-ins do; null without one.
HWND MakeEmbedChild(winampVisModule* module, embedWindowState& state, HWND& frame);

// Fills the window's client area with the picture's bands, with GDI.
void DrawBands(HWND window, const BandPicture& picture);

// Logs the step when hr is a failure.
bool ProbeFailed(const char* step, long hr);

// A window class of the probe's own, registered once.
const char* ProbeWindowClass(HINSTANCE self);

int32_t VIS_CDECL ThreadInit(winampVisModule* module);
int32_t VIS_CDECL ThreadRender(winampVisModule* module);
void VIS_CDECL ThreadQuit(winampVisModule* module);

int32_t VIS_CDECL SleepPacedInit(winampVisModule* module);
int32_t VIS_CDECL CounterPacedInit(winampVisModule* module);
int32_t VIS_CDECL PacedRender(winampVisModule* module);
void VIS_CDECL PacedQuit(winampVisModule* module);

int32_t VIS_CDECL DirectDrawWindowInit(winampVisModule* module);
int32_t VIS_CDECL DirectDrawFullScreenInit(winampVisModule* module);
int32_t VIS_CDECL DirectDrawRender(winampVisModule* module);
void VIS_CDECL DirectDrawQuit(winampVisModule* module);

int32_t VIS_CDECL Direct3DInit(winampVisModule* module);
int32_t VIS_CDECL Direct3DRender(winampVisModule* module);
void VIS_CDECL Direct3DQuit(winampVisModule* module);

int32_t VIS_CDECL OpenGLInit(winampVisModule* module);
int32_t VIS_CDECL OpenGLRender(winampVisModule* module);
void VIS_CDECL OpenGLQuit(winampVisModule* module);
