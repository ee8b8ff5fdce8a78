// Module start-up and shut-down. Provisional: the window, its surfaces and the
// settings come with the window subsystem; until then start-up only resets
// the level meter.
#include "display/level_meter.h"
#include "plugin/module_ops.h"
#include "window/window_state.h"

WindowState Win;

int32_t VIS_CDECL Init(winampVisModule*) {
    ResetLevelMeter();
    return 0;
}

void VIS_CDECL Quit(winampVisModule*) {}

void VIS_CDECL Config(winampVisModule*) {}
