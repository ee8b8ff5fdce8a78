// Capture mode: the module's frames written to a folder, on a clock that runs
// from the frames, so that the same file gives the same frames on every run:
// the plug-in's own clocks, waits and timers follow the same frames.
#pragma once

#include "host/win/host_session.h"

// Puts the plug-in on the song's clock and takes its presents, on the
// visualization thread, before the plug-in is asked for its header.
void PutPluginOnSongClock(HostSession& session);

// Renders the running module until playback ends (or --frames), writing a
// PNG file for every frame. Returns the number of frames written; a failure
// is reported in the session.
int CaptureModule(HostSession& session, winampVisModule* module);
