// The settings file's texts: path, section name and decimal values, each
// written into a buffer followed by canary bytes that must survive.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "settings/settings_text.h"

namespace {

// A buffer of Size characters, filled with garbage so that a missing
// terminator shows, and followed by canary bytes that an overrun would hit.
template <size_t Size>
struct Guarded {
    static constexpr size_t CanaryLength = 64;
    char bytes[Size + CanaryLength];
    Guarded() { std::memset(bytes, '#', sizeof bytes); }
    char* data() { return bytes; }
    bool CanaryIntact() const {
        for (size_t i = Size; i < sizeof bytes; ++i) {
            if (bytes[i] != '#') return false;
        }
        return true;
    }
    // The text, or a marker when no terminator lies within the buffer.
    std::string Text() const {
        const void* zero = std::memchr(bytes, '\0', Size);
        return zero ? std::string(bytes) : std::string("<unterminated>");
    }
};

// A module file name of totalLength characters whose folder, trailing
// backslash included, is folderLength characters long.
std::string ModuleFile(size_t folderLength, size_t totalLength) {
    std::string name = "C:\\";
    name.resize(folderLength - 1, 'f');
    name += '\\';
    name.resize(totalLength, 'n');
    return name;
}

std::string PathFor(const char* moduleFile) {
    Guarded<SettingsPathSize> out;
    SettingsPathFromModuleFile(moduleFile, out.data());
    EXPECT_TRUE(out.CanaryIntact()) << "overrun for a module file of " << (moduleFile ? std::strlen(moduleFile) : 0)
                                    << " characters";
    return out.Text();
}

std::string SectionFor(const char* description) {
    Guarded<SettingsSectionSize> out;
    BuildSettingsSection(description, out.data());
    EXPECT_TRUE(out.CanaryIntact()) << "overrun for " << (description ? description : "null");
    return out.Text();
}

std::string Decimal(int32_t value) {
    Guarded<DecimalTextSize> out;
    FormatDecimal(value, out.data());
    EXPECT_TRUE(out.CanaryIntact()) << "overrun for " << value;
    return out.Text();
}

}  // namespace

TEST(SettingsPath, FolderOfTheLibraryKeepsItsBackslash) {
    EXPECT_EQ(PathFor("C:\\Players\\Plugins\\vis_kt.dll"), "C:\\Players\\Plugins\\plugin.ini");
    EXPECT_EQ(PathFor("\\\\server\\share\\a.b\\vis_kt.dll"), "\\\\server\\share\\a.b\\plugin.ini");
    EXPECT_EQ(PathFor("C:\\vis_kt.dll"), "C:\\plugin.ini");
}

TEST(SettingsPath, BareNameWithoutFolder) {
    EXPECT_EQ(PathFor("vis_kt.dll"), "plugin.ini");
    EXPECT_EQ(PathFor("C:vis_kt.dll"), "plugin.ini");
    EXPECT_EQ(PathFor(""), "plugin.ini");
    EXPECT_EQ(PathFor(nullptr), "plugin.ini");
}

TEST(SettingsPath, LongestFolderThatFitsAndTheFirstThatDoesNot) {
    // 249 characters of folder and "plugin.ini" fill all 260 with the zero.
    for (size_t total : {size_t{259}, size_t{260}, size_t{300}}) {
        SCOPED_TRACE(total);
        const std::string fits = ModuleFile(249, total);
        const std::string path = PathFor(fits.c_str());
        EXPECT_EQ(path.size(), 259u);
        EXPECT_EQ(path, fits.substr(0, 249) + "plugin.ini");
        EXPECT_EQ(PathFor(ModuleFile(250, total).c_str()), "plugin.ini");
    }
}

TEST(SettingsPath, LongModuleFileNamesOfEveryFolderLength) {
    for (size_t total : {size_t{259}, size_t{260}, size_t{300}}) {
        for (size_t folder = 3; folder < total; folder += 7) {
            const std::string path = PathFor(ModuleFile(folder, total).c_str());
            const std::string expected = folder <= 249 ? ModuleFile(folder, folder) + "plugin.ini" : "plugin.ini";
            ASSERT_EQ(path, expected) << "folder " << folder << " total " << total;
        }
    }
    // No backslash at all among 300 characters.
    EXPECT_EQ(PathFor(std::string(300, 'n').c_str()), "plugin.ini");
}

TEST(SettingsSection, PrefixAndDescription) {
    EXPECT_EQ(SectionFor("Deduzodo"), "ZARir 1.1 Deduzodo");
    EXPECT_EQ(SectionFor("VU-Meter"), "ZARir 1.1 VU-Meter");
    EXPECT_EQ(SectionFor(""), "ZARir 1.1 ");
    EXPECT_EQ(SectionFor(nullptr), "ZARir 1.1 ");
}

TEST(SettingsSection, LongDescriptionsAreCutToTheBuffer) {
    EXPECT_EQ(SectionFor("0123456789"), "ZARir 1.1 0123456789");
    EXPECT_EQ(SectionFor("0123456789A"), "ZARir 1.1 0123456789");
    EXPECT_EQ(SectionFor(std::string(300, 'd').c_str()), "ZARir 1.1 " + std::string(10, 'd'));
}

TEST(DecimalText, ShortestFormWithMinusSign) {
    EXPECT_EQ(Decimal(0), "0");
    EXPECT_EQ(Decimal(4), "4");
    EXPECT_EQ(Decimal(35), "35");
    EXPECT_EQ(Decimal(100), "100");
    EXPECT_EQ(Decimal(255), "255");
    EXPECT_EQ(Decimal(-1), "-1");
    EXPECT_EQ(Decimal(-120), "-120");
    EXPECT_EQ(Decimal(INT32_MAX), "2147483647");
    EXPECT_EQ(Decimal(INT32_MIN), "-2147483648");
}

TEST(DecimalText, RandomValuesReadBackUnchanged) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
    for (int i = 0; i < 2000; ++i) {
        const int32_t value = i < 1000 ? any(random) : i - 1500;
        const std::string text = Decimal(value);
        ASSERT_EQ(std::strtoll(text.c_str(), nullptr, 10), value) << text;
        const size_t digits = text[0] == '-' ? 1 : 0;
        ASSERT_TRUE(text[digits] != '0' || text == "0") << text;
        ASSERT_EQ(text.find_first_not_of("-0123456789"), std::string::npos) << text;
    }
}
