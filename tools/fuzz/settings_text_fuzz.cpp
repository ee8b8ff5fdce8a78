// Fuzz target: the settings texts built from an arbitrary description and
// library file name. Each result is terminated inside its buffer (exact-size
// heap buffers, so the address sanitizer sees any overrun), the section
// starts with the fixed prefix, the path ends with the file name, and every
// decimal text reads back as its value.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "settings/settings_text.h"

namespace {

void Check(bool holds) {
    if (!holds) std::abort();
}

bool EndsWith(const char* text, const char* tail) {
    const size_t length = std::strlen(text), tailLength = std::strlen(tail);
    return length >= tailLength && std::strcmp(text + length - tailLength, tail) == 0;
}

}  // namespace

// Input: the description up to the first zero byte, the file name after it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string description = input.substr(0, split);
    const std::string moduleFile = split == std::string::npos ? "" : input.substr(split + 1).c_str();

    char* section = new char[SettingsSectionSize];
    BuildSettingsSection(description.c_str(), section);
    Check(std::memchr(section, '\0', SettingsSectionSize) != nullptr);
    Check(std::strncmp(section, "ZARir 1.1 ", 10) == 0);
    Check(description.compare(0, std::strlen(section) - 10, section + 10) == 0);
    delete[] section;

    char* path = new char[SettingsPathSize];
    SettingsPathFromModuleFile(split == std::string::npos ? nullptr : moduleFile.c_str(), path);
    Check(std::memchr(path, '\0', SettingsPathSize) != nullptr);
    Check(EndsWith(path, SettingsFileName));
    const size_t folder = std::strlen(path) - std::strlen(SettingsFileName);
    Check(moduleFile.compare(0, folder, path, folder) == 0);
    delete[] path;

    int32_t value = 0;
    std::memcpy(&value, data, size < sizeof value ? size : sizeof value);
    char* decimal = new char[DecimalTextSize];
    FormatDecimal(value, decimal);
    Check(std::memchr(decimal, '\0', DecimalTextSize) != nullptr);
    Check(std::strtoll(decimal, nullptr, 10) == value);
    Check(decimal[0] != '0' || decimal[1] == '\0');
    delete[] decimal;
    return 0;
}
