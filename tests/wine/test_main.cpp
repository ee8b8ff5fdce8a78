// Test entry for the programs that run under Wine.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "host/win/import_table.h"
#include "tests/wine/case_report.h"

namespace {

// GoogleTest copies every failure and skip message to OutputDebugStringA,
// which raises DBG_PRINTEXCEPTION_C for a debugger to catch. Nobody listens
// here, and under qemu user emulation Wine's dispatch of that exception (or
// the return from it) crashes the 32-bit process. The message is on stdout
// already, so the call does nothing in the test programs.
void WINAPI IgnoreDebugOutput(const char*) {}

}  // namespace

int main(int argc, char** argv) {
    // Plain newlines, so CTest reads the test list as it does natively.
    _setmode(_fileno(stdout), _O_BINARY);
    // A crash ends the test program instead of waiting on an error dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    PatchImport(GetModuleHandleA(nullptr), "kernel32.dll", "OutputDebugStringA",
                reinterpret_cast<void*>(&IgnoreDebugOutput));
    ReportCasesIfAsked(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
