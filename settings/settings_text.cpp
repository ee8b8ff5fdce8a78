#include "settings/settings_text.h"

#include <cstring>

const char SettingsFileName[] = "plugin.ini";

namespace {

// Fixed: the files that users already have store their settings under it.
constexpr char SectionPrefix[] = "ZARir 1.1 ";

}  // namespace

void SettingsPathFromModuleFile(const char* moduleFile, char* out) {
    size_t folderLength = 0;  // up to and including the last backslash
    if (moduleFile) {
        const char* lastBackslash = std::strrchr(moduleFile, '\\');
        if (lastBackslash) folderLength = static_cast<size_t>(lastBackslash - moduleFile) + 1;
    }
    if (folderLength + sizeof SettingsFileName > SettingsPathSize) folderLength = 0;
    if (folderLength > 0) std::memcpy(out, moduleFile, folderLength);
    std::memcpy(out + folderLength, SettingsFileName, sizeof SettingsFileName);
}

void BuildSettingsSection(const char* description, char* out) {
    constexpr size_t prefixLength = sizeof SectionPrefix - 1;
    static_assert(prefixLength < SettingsSectionSize, "section prefix fits");
    std::memcpy(out, SectionPrefix, prefixLength);
    size_t n = prefixLength;
    if (description) {
        for (; n + 1 < SettingsSectionSize && description[n - prefixLength] != '\0'; ++n) {
            out[n] = description[n - prefixLength];
        }
    }
    out[n] = '\0';
}

void FormatDecimal(int32_t value, char* out) {
    // The magnitude in unsigned arithmetic, so that INT32_MIN has one too.
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    char digits[10];
    size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    size_t n = 0;
    if (value < 0) out[n++] = '-';
    while (count > 0) out[n++] = digits[--count];
    out[n] = '\0';
}
