// White-box: the getter's effect on ModuleKind and the host-magic test.
#include <gtest/gtest.h>

#include <cstring>

#include "plugin/records.h"
#include "window/plugin_instance.h"

extern "C" winampVisHeader* VIS_CDECL winampVisGetHeader();

TEST(ModuleKind, EveryGetterCallOverwritesIt) {
    winampVisHeader* header = winampVisGetHeader();
    EXPECT_EQ(Plugin.ModuleKind, ModuleNone);
    header->getModule(0);
    EXPECT_EQ(Plugin.ModuleKind, ModuleDeduzodo);
    header->getModule(1);
    EXPECT_EQ(Plugin.ModuleKind, ModuleVuMeter);
    header->getModule(2);
    EXPECT_EQ(Plugin.ModuleKind, ModuleNone);
    header->getModule(1);
    EXPECT_EQ(Plugin.ModuleKind, ModuleVuMeter);
    header->getModule(-5);
    EXPECT_EQ(Plugin.ModuleKind, ModuleNone);
}

TEST(HostMagic, OnlyTheValueItself) {
    winampVisModule record{};
    auto withValue = [&](uint32_t value) {
        record.userData = reinterpret_cast<void*>(static_cast<uintptr_t>(value));
        return HasHostMagic(&record);
    };
    EXPECT_TRUE(withValue(0x00584F51));  // 'Q' 'O' 'X' 0, little-endian
    EXPECT_FALSE(withValue(0x01584F51));
    EXPECT_FALSE(withValue(0x20584F51));
    EXPECT_FALSE(withValue(0x58584F51));
    EXPECT_FALSE(withValue(0));
    static const char text[] = "QOX";
    record.userData = const_cast<char*>(text);
    EXPECT_FALSE(HasHostMagic(&record));
}
