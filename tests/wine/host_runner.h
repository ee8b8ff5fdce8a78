// Runs vis_host.exe as a child process and reads what it leaves behind.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/core/png_frame.h"

struct HostRun {
    int exitCode = -1;   // -1: it did not end in time and was killed
    std::string output;  // standard output and error together
};

// The folder of the test programs, vis_host.exe and the DLLs, with a slash.
std::string BinFolder();

// Runs vis_host.exe with the arguments in BinFolder(); PROBE_LOG is set to
// probeLog for the child when that is not empty. whileRunning, if given, runs
// once the child has started, with its process id.
HostRun RunHost(const std::string& arguments, const std::string& probeLog = "", unsigned timeoutMs = 90000,
                const std::function<void(unsigned long)>& whileRunning = {});

// The player window of the given vis_host process, waiting up to timeoutMs for it.
void* FindPlayerWindow(unsigned long processId, unsigned timeoutMs);

// A new empty folder under the temporary folder, without a trailing backslash
// (one before a closing quote would escape it).
std::string NewTempFolder(const std::string& stem);
void RemoveFolder(const std::string& folder);

// A captured frame; no pixels when it cannot be read.
RgbImage ReadPng(const std::string& path);

// The lines of a text file.
std::vector<std::string> ReadLines(const std::string& path);

bool Contains(const std::string& text, const std::string& part);
