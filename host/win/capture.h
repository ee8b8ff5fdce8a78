// Capture mode: the module's frames written to a folder, on a clock that runs
// from the frames, so that the same file gives the same frames on every run.
#pragma once

#include "host/win/host_session.h"

// The threads of this process: a module that started one in Init may draw
// on it rather than within Render.
int ProcessThreadCount();

// Renders the running module until playback ends (or --frames), writing a
// PNG file for every frame. Returns the number of frames written; a failure
// is reported in the session.
int CaptureModule(HostSession& session, winampVisModule* module);
