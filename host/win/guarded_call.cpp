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

// The process's last filter: it runs only after every frame handler on the
// thread's chain, the plug-in's own among them, declined the fault. It jumps
// straight back to the guard: continuing through the exception dispatcher
// after a fault crashes the 32-bit process under qemu. Only errors count:
// debugger output and other notices pass on.
LONG WINAPI TakeFault(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    Guard* guard = ActiveGuard;
    if (!guard || (record.ExceptionCode & 0xC0000000) != 0xC0000000) {
        return PreviousFilter ? PreviousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
    }
    guard->fault->code = record.ExceptionCode;
    guard->fault->address = record.ExceptionAddress;
    ActiveGuard = nullptr;
    std::longjmp(guard->landing, 1);
}

}  // namespace

bool CallGuarded(void (*call)(void*), void* context, PluginFault& fault) {
    static const bool installed = [] {
        PreviousFilter = SetUnhandledExceptionFilter(TakeFault);
        return true;
    }();
    (void)installed;
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
    return true;
}
