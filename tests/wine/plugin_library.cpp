#include "tests/wine/plugin_library.h"

#include <gtest/gtest.h>

PluginLibrary& LoadPluginLibrary() {
    static PluginLibrary library;
    if (!library.module) {
        library.module = LoadLibraryA("vis_kt.dll");
        EXPECT_NE(library.module, nullptr) << "vis_kt.dll not loadable, error " << GetLastError();
        if (library.module) {
            library.getHeader = reinterpret_cast<winampVisHeader* (*)()>(
                reinterpret_cast<void*>(GetProcAddress(library.module, "winampVisGetHeader")));
            EXPECT_NE(library.getHeader, nullptr);
        }
    }
    return library;
}
