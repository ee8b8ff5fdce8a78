// Applies a confirmed DockMode to the running window, on the window's own
// thread: from another thread the request is sent to the window.
#pragma once

#include <cstdint>

#include "plugin/records.h"

void RequestDockMode(winampVisModule* module, uint8_t mode);

// The window procedure's handler of a request sent from another thread.
void ApplyDockMode(winampVisModule* module, uint8_t mode);
