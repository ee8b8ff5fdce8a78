// The log of the probe plug-ins: one line per call, appended to the file
// named by the environment variable PROBE_LOG; nothing when it is not set.
#pragma once

void ProbeLog(const char* format, ...);
