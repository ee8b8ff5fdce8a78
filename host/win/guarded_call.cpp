#include "host/win/guarded_call.h"

#include <csetjmp>

namespace {

// The guarded call under way: the thread that makes it, where a fault goes
// back to and what it records.
DWORD GuardedThread = 0;
std::jmp_buf* Landing = nullptr;
PluginFault* Caught = nullptr;

// Continuing through the exception dispatcher after a fault crashes the
// 32-bit process under qemu, so the handler jumps straight back to the
// guard. Only errors count: debugger output and other notices pass on.
LONG CALLBACK TakeFault(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if (!Landing || GetCurrentThreadId() != GuardedThread || (record.ExceptionCode & 0xC0000000) != 0xC0000000) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    Caught->code = record.ExceptionCode;
    Caught->address = record.ExceptionAddress;
    std::jmp_buf* landing = Landing;
    Landing = nullptr;
    std::longjmp(*landing, 1);
}

}  // namespace

bool CallGuarded(void (*call)(void*), void* context, PluginFault& fault) {
    static const PVOID handler = AddVectoredExceptionHandler(1, TakeFault);
    if (!handler) {
        call(context);
        return true;
    }
    std::jmp_buf landing;
    if (setjmp(landing)) return false;
    GuardedThread = GetCurrentThreadId();
    Caught = &fault;
    Landing = &landing;
    call(context);
    Landing = nullptr;
    return true;
}
