// The header and module records as the player sees them through the export.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/wine/plugin_library.h"

namespace {

winampVisHeader* Header() {
    PluginLibrary& library = LoadPluginLibrary();
    return library.getHeader ? library.getHeader() : nullptr;
}

template <typename T>
T FieldAt(const winampVisModule* record, size_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(record) + offset, sizeof value);
    return value;
}

bool InsideLibrary(const void* address) {
    HMODULE owner = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<const char*>(address), &owner);
    return owner != nullptr && owner == LoadPluginLibrary().module;
}

}  // namespace

TEST(Header, SameAddressAndValuesOnEveryCall) {
    winampVisHeader* header = Header();
    ASSERT_NE(header, nullptr);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(LoadPluginLibrary().getHeader(), header);
    EXPECT_EQ(FieldAt<int32_t>(reinterpret_cast<winampVisModule*>(header), 0), 0x101);
    EXPECT_STREQ(header->description, "KT Deduzodo Library v1.1f - Quasar Sonobar gui");
    EXPECT_TRUE(InsideLibrary(reinterpret_cast<const void*>(header->getModule)));
}

TEST(Getter, IndexSequenceGivesBothRecordsThenNull) {
    winampVisHeader* header = Header();
    ASSERT_NE(header, nullptr);
    winampVisModule* deduzodo = header->getModule(0);
    winampVisModule* vuMeter = header->getModule(1);
    ASSERT_NE(deduzodo, nullptr);
    ASSERT_NE(vuMeter, nullptr);
    EXPECT_NE(deduzodo, vuMeter);
    EXPECT_EQ(header->getModule(2), nullptr);
    EXPECT_EQ(header->getModule(-1), nullptr);
    EXPECT_EQ(header->getModule(0x7FFFFFFF), nullptr);
    EXPECT_EQ(header->getModule(1), vuMeter);
    EXPECT_EQ(header->getModule(0), deduzodo);
}

TEST(Records, LoadTimeBytesAtTheirOffsets) {
    winampVisHeader* header = Header();
    ASSERT_NE(header, nullptr);
    winampVisModule* records[2] = {header->getModule(0), header->getModule(1)};
    const char* names[2] = {"Deduzodo", "VU-Meter"};
    for (int r = 0; r < 2; ++r) {
        const winampVisModule* record = records[r];
        ASSERT_NE(record, nullptr);
        SCOPED_TRACE(names[r]);
        // Offsets from the record's definition: the 32-bit build pins them
        // to the player's layout at compile time; the 64-bit test build has
        // wider pointers.
        EXPECT_STREQ(FieldAt<const char*>(record, offsetof(winampVisModule, description)), names[r]);
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(record);
        for (size_t offset = offsetof(winampVisModule, hwndParent); offset < offsetof(winampVisModule, latencyMs);
             ++offset) {
            EXPECT_EQ(bytes[offset], 0) << offset;
        }
        EXPECT_EQ(FieldAt<int32_t>(record, offsetof(winampVisModule, latencyMs)), 25);
        EXPECT_EQ(FieldAt<int32_t>(record, offsetof(winampVisModule, delayMs)), 25);
        EXPECT_EQ(FieldAt<int32_t>(record, offsetof(winampVisModule, spectrumNch)), 0);
        EXPECT_EQ(FieldAt<int32_t>(record, offsetof(winampVisModule, waveformNch)), 2);
        for (size_t offset = offsetof(winampVisModule, spectrumData); offset < offsetof(winampVisModule, Config);
             ++offset) {
            ASSERT_EQ(bytes[offset], 0) << offset;
        }
        for (size_t offset = offsetof(winampVisModule, Config); offset < offsetof(winampVisModule, userData);
             offset += sizeof(void*)) {
            EXPECT_TRUE(InsideLibrary(FieldAt<const void*>(record, offset))) << offset;
        }
        EXPECT_EQ(FieldAt<const void*>(record, offsetof(winampVisModule, userData)), nullptr);
    }
    // Config, Init and Quit are shared; each record has its own Render.
    EXPECT_EQ(records[0]->Config, records[1]->Config);
    EXPECT_EQ(records[0]->Init, records[1]->Init);
    EXPECT_EQ(records[0]->Quit, records[1]->Quit);
    EXPECT_NE(records[0]->Render, records[1]->Render);
}
