// How faults reach a program's own handlers: each with the code and record
// the processor's exception gives on Windows, and a thread that goes on
// after one is still itself while other threads fault beside it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

// One faulting instruction each, at a label of its own, so that a handler
// knows where it must have stopped and how far to step over it.
extern "C" {
void FaultRead(const void* address);
void FaultWrite(void* address);
void FaultDivide();
void FaultUndefined();
void FaultBreakpoint();
extern const char FaultReadAt[], FaultWriteAt[], FaultDivideAt[], FaultUndefinedAt[], FaultBreakpointAt[];
}
asm(R"(
    .text
    .globl _FaultRead, _FaultReadAt, _FaultWrite, _FaultWriteAt, _FaultDivide, _FaultDivideAt
    .globl _FaultUndefined, _FaultUndefinedAt, _FaultBreakpoint, _FaultBreakpointAt
_FaultRead:
    movl 4(%esp), %ecx
_FaultReadAt:
    movl (%ecx), %eax
    ret
_FaultWrite:
    movl 4(%esp), %ecx
_FaultWriteAt:
    movl %eax, (%ecx)
    ret
_FaultDivide:
    xorl %ecx, %ecx
    movl $7, %eax
    cltd
_FaultDivideAt:
    idivl %ecx
    ret
_FaultUndefined:
_FaultUndefinedAt:
    ud2
    ret
_FaultBreakpoint:
_FaultBreakpointAt:
    int3
    ret
)");

namespace {

struct Fault {
    const char* name;
    void (*raise)();
    const char* at;     // the faulting instruction
    DWORD length;       // its length in bytes
    DWORD code;         // what Windows reports
    DWORD parameters;   // NumberParameters, or AnyCount
    ULONG_PTR info[2];  // ExceptionInformation
};

// A breakpoint has 3 parameters on 32-bit Windows and 1 under WOW64.
constexpr DWORD AnyCount = ~0u;

void ReadNull() { FaultRead(nullptr); }
void WriteLow() { FaultWrite(reinterpret_cast<void*>(0x10)); }

const Fault Faults[] = {
    {"read of address 0", ReadNull, FaultReadAt, 2, EXCEPTION_ACCESS_VIOLATION, 2, {0, 0}},
    {"write to address 0x10", WriteLow, FaultWriteAt, 2, EXCEPTION_ACCESS_VIOLATION, 2, {1, 0x10}},
    {"integer divide by zero", FaultDivide, FaultDivideAt, 2, EXCEPTION_INT_DIVIDE_BY_ZERO, 0, {0, 0}},
    {"undefined instruction", FaultUndefined, FaultUndefinedAt, 2, EXCEPTION_ILLEGAL_INSTRUCTION, 0, {0, 0}},
    {"breakpoint", FaultBreakpoint, FaultBreakpointAt, 1, EXCEPTION_BREAKPOINT, AnyCount, {0, 0}},
};

// What the handler saw of the last fault on this thread.
struct Seen {
    DWORD code = 0;
    const void* address = nullptr;
    DWORD parameters = 0;
    ULONG_PTR info[2] = {};
};

// The fault this thread expects next, and what its handler saw.
thread_local const Fault* expected = nullptr;
thread_local Seen seen;

// Takes the expected fault, whatever it arrived as, and goes on after the
// instruction: a fault that arrives wrong is reported, not a crash.
LONG CALLBACK TakeFault(EXCEPTION_POINTERS* pointers) {
    const Fault* fault = expected;
    if (!fault) return EXCEPTION_CONTINUE_SEARCH;
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    seen.code = record->ExceptionCode;
    seen.address = record->ExceptionAddress;
    seen.parameters = record->NumberParameters;
    for (DWORD i = 0; i < 2; ++i) seen.info[i] = i < record->NumberParameters ? record->ExceptionInformation[i] : 0;
    pointers->ContextRecord->Eip = reinterpret_cast<DWORD>(fault->at) + fault->length;
    expected = nullptr;
    return EXCEPTION_CONTINUE_EXECUTION;
}

class FaultDelivery : public ::testing::Test {
protected:
    void SetUp() override { handler = AddVectoredExceptionHandler(1, TakeFault); }
    void TearDown() override { RemoveVectoredExceptionHandler(handler); }
    void* handler = nullptr;
};

// Raises one fault on this thread; empty when it arrived as Windows gives it.
std::string Raise(const Fault& fault) {
    seen = Seen{};
    expected = &fault;
    fault.raise();
    char what[200];
    const bool countRight = fault.parameters == AnyCount ? seen.parameters >= 1 : seen.parameters == fault.parameters;
    if (seen.code != fault.code || seen.address != fault.at || !countRight || seen.info[0] != fault.info[0] ||
        seen.info[1] != fault.info[1]) {
        std::snprintf(what, sizeof what, "%s: code 0x%08lX at %p, %lu parameter(s) %lu, 0x%lX (expected 0x%08lX at %p)",
                      fault.name, seen.code, seen.address, seen.parameters, static_cast<unsigned long>(seen.info[0]),
                      static_cast<unsigned long>(seen.info[1]), fault.code, static_cast<const void*>(fault.at));
        return what;
    }
    return {};
}

TEST_F(FaultDelivery, EachFaultArrivesWithItsOwnCodeAndRecord) {
    for (const Fault& fault : Faults) EXPECT_EQ(Raise(fault), "");
}

// What makes a thread itself, to Windows code and to the C runtime.
struct Identity {
    DWORD id;
    void* teb;
    DWORD tebId;
    int error;
    DWORD slotValue;
};

DWORD slot = TLS_OUT_OF_INDEXES;

Identity Current() {
    char* teb = reinterpret_cast<char*>(NtCurrentTeb());
    // The thread's id as its TEB's ClientId holds it.
    const DWORD tebId = *reinterpret_cast<const DWORD*>(teb + 0x24);
    return {GetCurrentThreadId(), teb, tebId, errno,
            static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(TlsGetValue(slot)))};
}

bool Same(const Identity& a, const Identity& b) {
    return a.id == b.id && a.teb == b.teb && a.tebId == b.tebId && a.error == b.error && a.slotValue == b.slotValue;
}

constexpr int Rounds = 40;

// Faults over and over, checking after each that it is the thread it was
// and that the system still serves it; the number of rounds that failed.
DWORD WINAPI FaultRepeatedly(void* tag) {
    const DWORD mine = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(tag));
    TlsSetValue(slot, tag);
    errno = static_cast<int>(mine);
    const Identity before = Current();
    DWORD failures = 0;
    for (int round = 0; round < Rounds; ++round) {
        for (const Fault& fault : Faults) {
            const bool arrived = Raise(fault).empty();
            // A call into the system between faults uses its per-thread state too.
            Sleep(0);
            if (!arrived || !Same(before, Current()) || GetTickCount() == 0xFFFFFFFF) ++failures;
        }
    }
    return failures;
}

TEST_F(FaultDelivery, AThreadStaysItselfWhileOthersFaultBesideIt) {
    slot = TlsAlloc();
    ASSERT_NE(slot, TLS_OUT_OF_INDEXES);
    constexpr int Workers = 4;
    HANDLE threads[Workers];
    for (int i = 0; i < Workers; ++i) {
        threads[i] =
            CreateThread(nullptr, 0, FaultRepeatedly, reinterpret_cast<void*>(ULONG_PTR(1000 + i)), 0, nullptr);
        ASSERT_NE(threads[i], nullptr);
    }
    const DWORD mainFailures = FaultRepeatedly(reinterpret_cast<void*>(ULONG_PTR(999)));
    ASSERT_EQ(WaitForMultipleObjects(Workers, threads, TRUE, 60000), WAIT_OBJECT_0);
    for (int i = 0; i < Workers; ++i) {
        DWORD failures = 99;
        GetExitCodeThread(threads[i], &failures);
        EXPECT_EQ(failures, 0u) << "worker " << i;
        CloseHandle(threads[i]);
    }
    EXPECT_EQ(mainFailures, 0u);
    TlsFree(slot);
}

}  // namespace
