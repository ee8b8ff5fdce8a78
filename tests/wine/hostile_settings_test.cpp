// Start-up of the real DLL from settings files that no well-behaved writer
// makes: garbage bytes, numbers out of range, endless lines, odd encodings.
// Each must start, draw and stop cleanly, with everything released and a
// file left behind that the next start-up reads.
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "tests/wine/accounting_fixture.h"

namespace {

std::string Garbage(size_t size) {
    std::string bytes(size, '\0');
    unsigned state = 7;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 23);
    }
    return bytes;
}

std::string Utf16(const std::string& text) {
    std::string bytes = "\xFF\xFE";
    for (char c : text) bytes += std::string{c, '\0'};
    return bytes;
}

std::string ZeroBytesInKeys() {
    std::string bytes = "[ZARir 1.1 Deduzodo]\r\nMo";
    bytes += '\0';
    bytes += "de=0\r\nMode=";
    bytes += '\0';
    return bytes + "3\r\n";
}

const std::string Section = "[ZARir 1.1 Deduzodo]\r\n[ZARir 1.1 VU-Meter]\r\n";

struct HostileFile {
    const char* name;
    std::string bytes;
};

std::vector<HostileFile> Corpus() {
    return {
        {"Empty", ""},
        {"GarbageBytes", Garbage(4096)},
        {"GarbageAfterSections", "[ZARir 1.1 Deduzodo]\r\nMode=0\r\n" + Garbage(2048)},
        {"AllModeBits", "[ZARir 1.1 Deduzodo]\r\nMode=-1\r\n[ZARir 1.1 VU-Meter]\r\nMode=-1\r\n"},
        {"NumbersOutOfRange",
         "[ZARir 1.1 Deduzodo]\r\nMode=99999999999999999999\r\nX=-99999999999\r\nY=2147483648\r\n"
         "[ZARir 1.1 VU-Meter]\r\nMode=99999999999999999999\r\nX=-99999999999\r\nY=2147483648\r\n"},
        {"FreeAtTheEdgeOfTheCoordinates",
         "[ZARir 1.1 Deduzodo]\r\nMode=0\r\nX=2147483000\r\nY=-2147483648\r\n"
         "[ZARir 1.1 VU-Meter]\r\nMode=0\r\nX=2147483000\r\nY=-2147483648\r\n"},
        {"EndlessValue", "[ZARir 1.1 Deduzodo]\r\nMode=" + std::string(100000, '1') +
                             "\r\n[ZARir 1.1 VU-Meter]\r\nMode=" + std::string(100000, '7') + "\r\n"},
        {"EndlessSectionName", "[" + std::string(70000, 'Z') + "\r\n" + Section},
        {"NoLineEnds", "[ZARir 1.1 Deduzodo]Mode=2X=5Y=6"},
        {"SpacesAndRepeats",
         "  [ZARir 1.1 Deduzodo]  \r\n  Mode  =  0  \r\nX=12\r\n[ZARir 1.1 Deduzodo]\r\nMode=5\r\n" + Section},
        {"Utf16WithMarker", Utf16("[ZARir 1.1 Deduzodo]\r\nMode=0\r\nX=30\r\n[ZARir 1.1 VU-Meter]\r\nMode=0\r\n")},
        {"ZeroBytesInKeys", ZeroBytesInKeys()},
    };
}

// A corpus file and the module (0 Deduzodo, 1 VU-Meter) started from it.
using HostileCase = std::tuple<size_t, int>;

void WriteRaw(const std::string& bytes) {
    FILE* file = std::fopen(PluginIniPath().c_str(), "wb");
    ASSERT_NE(file, nullptr);
    if (!bytes.empty()) {
        ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    }
    std::fclose(file);
}

}  // namespace

class HostileSettingsTest : public AccountingTest, public ::testing::WithParamInterface<HostileCase> {
protected:
    // Starts from whatever the file holds, draws and stops; then checks
    // that the file left behind starts the module again.
    void RunFromFile() {
        module = GetModule(std::get<1>(GetParam()));
        ASSERT_NE(module, nullptr);
        ASSERT_EQ(StartModule(module), 0);
        plugin = FindPluginWindow();
        ASSERT_NE(plugin, nullptr);
        const RECT rect = WindowRectOf(plugin);
        EXPECT_EQ(rect.right - rect.left, SkinWidth);
        EXPECT_EQ(rect.bottom - rect.top, (std::get<1>(GetParam()) ? VuMeterSkin : DeduzodoSkin).height);
        FillWaveform(module, 0x7F, 0x80);
        for (int frame = 0; frame < 3; ++frame) EXPECT_EQ(module->Render(module), 0);
        PumpMessages();
        module->Quit(module);
        EXPECT_EQ(Ledger.HeldTotal(), 0) << DescribeHeld();
    }
};

TEST_P(HostileSettingsTest, StartsDrawsStopsAndLeavesAReadableFile) {
    WriteRaw(Corpus()[std::get<0>(GetParam())].bytes);
    RunFromFile();
    const char* section = std::get<1>(GetParam()) ? VuMeterSection : DeduzodoSection;
    const UINT mode = GetPrivateProfileIntA(section, "Mode", 1000, PluginIniPath().c_str());
    EXPECT_LE(mode, 255u);
    RunFromFile();
    module = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Corpus, HostileSettingsTest,
                         ::testing::Combine(::testing::Range<size_t>(0, Corpus().size()), ::testing::Values(0, 1)),
                         [](const ::testing::TestParamInfo<HostileCase>& test) {
                             return std::string(Corpus()[std::get<0>(test.param)].name) +
                                    (std::get<1>(test.param) ? "VuMeter" : "Deduzodo");
                         });
