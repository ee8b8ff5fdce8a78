// A fault that nothing handled on a thread outside the guarded calls, most
// often one the plug-in or its DLLs started: it ends the run at once with
// "the plug-in's thread N faulted: exception CODE at ADDRESS in
// MODULE+OFFSET" and exit code 1, and no debugger or crash box ever starts.
#pragma once

#include <windows.h>

// From here on, on every thread; MAIN_THREAD is vis_host's own.
void ReportStrayFaults(DWORD mainThread);
// The visualization thread names itself: its faults are vis_host's own too.
void SetVisThreadForFaults(DWORD visThread);
