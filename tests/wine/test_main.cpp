// Test entry for the programs that run under Wine.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

namespace {

// GoogleTest copies every failure and skip message to OutputDebugString,
// which raises DBG_PRINTEXCEPTION_C for a debugger to catch. Nobody listens
// here, and Wine's dispatch of that exception crashes the 32-bit process
// under qemu user emulation; the message is on stdout already.
LONG CALLBACK IgnoreDebugOutput(EXCEPTION_POINTERS* exception) {
    if (exception->ExceptionRecord->ExceptionCode == DBG_PRINTEXCEPTION_C) return EXCEPTION_CONTINUE_EXECUTION;
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

int main(int argc, char** argv) {
    // Plain newlines, so CTest reads the test list as it does natively.
    _setmode(_fileno(stdout), _O_BINARY);
    // A crash ends the test program instead of waiting on an error dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    AddVectoredExceptionHandler(1, IgnoreDebugOutput);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
