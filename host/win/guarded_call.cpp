#include "host/win/guarded_call.h"

#include <csetjmp>

namespace {

// The guarded call under way on this thread: where a fault goes back to and
// what it records.
struct Guard {
    std::jmp_buf landing;
    PluginFault* fault;
};
thread_local Guard* ActiveGuard = nullptr;
LPTOP_LEVEL_EXCEPTION_FILTER PreviousFilter = nullptr;
StrayFaultHandler StrayHandler = nullptr;

bool IsError(DWORD code) { return (code & 0xC0000000) == 0xC0000000; }

// The process's last filter: it runs only after every frame handler on the
// thread's chain, the plug-in's own among them, declined the fault. It jumps
// straight back to the guard: continuing through the exception dispatcher
// after a fault crashes the 32-bit process under qemu. Only errors count:
// debugger output and other notices pass on.
LONG WINAPI TakeFault(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    Guard* guard = ActiveGuard;
    // A plug-in's filter that calls the one it replaced comes back here.
    static thread_local bool inFilter = false;
    if (inFilter) return EXCEPTION_CONTINUE_SEARCH;
    if (!guard || !IsError(record.ExceptionCode)) {
        // Notices, and faults outside the guarded calls: the filter before
        // ours first, then the stray-fault handler, which does not return.
        inFilter = true;
        const LONG previous = PreviousFilter ? PreviousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
        inFilter = false;
        if (previous == EXCEPTION_CONTINUE_SEARCH && !guard && IsError(record.ExceptionCode) && StrayHandler)
            StrayHandler(record);
        return previous;
    }
    guard->fault->code = record.ExceptionCode;
    guard->fault->address = record.ExceptionAddress;
    ActiveGuard = nullptr;
    std::longjmp(guard->landing, 1);
}

}  // namespace

void KeepFaultFilter() {
    static const bool installed = [] {
        PreviousFilter = SetUnhandledExceptionFilter(TakeFault);
        return true;
    }();
    (void)installed;
    const LPTOP_LEVEL_EXCEPTION_FILTER other = SetUnhandledExceptionFilter(TakeFault);
    if (other && other != TakeFault) PreviousFilter = other;
}

void SetStrayFaultHandler(StrayFaultHandler handler) {
    StrayHandler = handler;
    KeepFaultFilter();
}

bool CallGuarded(void (*call)(void*), void* context, PluginFault& fault) {
    KeepFaultFilter();
    Guard guard;
    guard.fault = &fault;
    Guard* const outer = ActiveGuard;
    if (setjmp(guard.landing)) {
        ActiveGuard = outer;
        return false;
    }
    ActiveGuard = &guard;
    call(context);
    ActiveGuard = outer;
    KeepFaultFilter();
    return true;
}
