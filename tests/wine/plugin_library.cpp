#include "tests/wine/plugin_library.h"

#include <gtest/gtest.h>

namespace {

PluginLibrary library;

}  // namespace

PluginLibrary& LoadPluginLibrary() {
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

void UnloadPluginLibrary() {
    if (library.module) {
        EXPECT_TRUE(FreeLibrary(library.module));
    }
    library = PluginLibrary{};
}
