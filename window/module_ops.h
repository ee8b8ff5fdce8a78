// The module operations that the two records point at.
#pragma once

#include "plugin/records.h"

int32_t VIS_CDECL Init(winampVisModule* module);
void VIS_CDECL Quit(winampVisModule* module);
void VIS_CDECL Config(winampVisModule* module);
int32_t VIS_CDECL RenderAnalyzer(winampVisModule* module);
int32_t VIS_CDECL RenderVuMeter(winampVisModule* module);
