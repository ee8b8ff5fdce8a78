#include "tests/wine/probe_log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

void ProbeLog(const char* format, ...) {
    static std::mutex lock;  // probes log from threads of their own too
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("PROBE_LOG", path, MAX_PATH)) return;
    std::lock_guard<std::mutex> hold(lock);
    FILE* file = std::fopen(path, "a");
    if (!file) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(file, format, args);
    va_end(args);
    std::fputc('\n', file);
    std::fclose(file);
}
