// The visualization thread: it runs the module the way the player does.
// It calls the getter, fills the record, calls Init, then renders in a loop
// that also dispatches the messages of the plug-in's window, and calls Quit
// at the end; finally it posts WM_HOST_VIS_ENDED to the player window.
#pragma once

#include <windows.h>

#include "host/win/host_session.h"

// The thread procedure; the parameter is the HostSession.
DWORD WINAPI VisThreadMain(void* session);

// Asks the thread to call Quit and end. Returns at once.
void RequestVisStop(HostSession& session);
