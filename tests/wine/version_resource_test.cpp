// The DLL's version resource as Windows reads it back: the strings and the
// fixed numbers both come from plugin/version.h.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/version.h"

namespace {

std::string DllPath() {
    char exe[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path(exe, length);
    return path.substr(0, path.find_last_of('\\') + 1) + "vis_kt.dll";
}

std::vector<char> VersionBlock() {
    const std::string path = DllPath();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    EXPECT_NE(size, 0u) << path << " has no version resource, error " << GetLastError();
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, block.data())) block.clear();
    return block;
}

// The value of a string in the block's first (and only) language.
std::string StringValue(std::vector<char>& block, const char* name) {
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof(Translation)) {
        ADD_FAILURE() << "no translation table";
        return {};
    }
    char query[128];
    wsprintfA(query, "\\StringFileInfo\\%04x%04x\\%s", translations[0].language, translations[0].codePage, name);
    char* value = nullptr;
    if (!VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&value), &length) || !value) {
        ADD_FAILURE() << "no " << query;
        return {};
    }
    return value;
}

}  // namespace

TEST(VersionResource, StringsCarryTheVersionOfTheHeader) {
    std::vector<char> block = VersionBlock();
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(StringValue(block, "FileVersion"), VIS_KT_VERSION);
    EXPECT_EQ(StringValue(block, "ProductVersion"), VIS_KT_VERSION);
    EXPECT_EQ(StringValue(block, "OriginalFilename"), "vis_kt.dll");
    EXPECT_EQ(StringValue(block, "ProductName"), "vis_kt");
    EXPECT_FALSE(StringValue(block, "FileDescription").empty());
}

TEST(VersionResource, FixedNumbersMatchTheHeader) {
    std::vector<char> block = VersionBlock();
    ASSERT_FALSE(block.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const WORD numbers[] = {VIS_KT_VERSION_NUMBERS};
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), numbers[0]);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), numbers[1]);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), numbers[2]);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), numbers[3]);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
}
