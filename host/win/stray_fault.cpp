#include "host/win/stray_fault.h"

#include <atomic>

#include "host/core/options.h"
#include "host/win/abrupt_end.h"
#include "host/win/guarded_call.h"

namespace {

std::atomic<DWORD> MainThread{0}, VisThread{0};

// Runs on the faulting thread, which may hold the heap's lock: it uses the
// stack alone.
void Describe(const void* context, int framesKept, char (&line)[512]) {
    const EXCEPTION_RECORD& record = *static_cast<const EXCEPTION_RECORD*>(context);
    const auto address = reinterpret_cast<ULONG_PTR>(record.ExceptionAddress);
    char path[MAX_PATH] = "";
    const char* name = "no module";
    ULONG_PTR offset = address;
    HMODULE owner = nullptr;
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCSTR>(record.ExceptionAddress), &owner) &&
        GetModuleFileNameA(owner, path, MAX_PATH)) {
        name = path;
        for (const char* c = path; *c; ++c)
            if (*c == '\\' || *c == '/') name = c + 1;
        offset = address - reinterpret_cast<ULONG_PTR>(owner);
    }
    const DWORD thread = GetCurrentThreadId();
    const bool own = thread == MainThread || thread == VisThread;
    wsprintfA(line, "%s %lu faulted: exception 0x%08lX at 0x%08lX in %s+0x%lX; the module is stopped, %d frames kept",
              own ? "vis_host's own thread" : "the plug-in's thread", thread, record.ExceptionCode,
              static_cast<unsigned long>(address), name, static_cast<unsigned long>(offset), framesKept);
}

void Report(const EXCEPTION_RECORD& record) { EndAbruptly(ExitPluginFailed, Describe, &record); }

}  // namespace

void ReportStrayFaults(DWORD mainThread) {
    MainThread = mainThread;
    // Nor does Windows show its own box for a fault that gets past us.
    SetErrorMode(GetErrorMode() | SEM_NOGPFAULTERRORBOX);
    SetStrayFaultHandler(Report);
}

void SetVisThreadForFaults(DWORD visThread) { VisThread = visThread; }
