// Test entry for the programs that run under Wine.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    // Plain newlines, so CTest reads the test list as it does natively.
    _setmode(_fileno(stdout), _O_BINARY);
    // A crash ends the test program instead of waiting on an error dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
