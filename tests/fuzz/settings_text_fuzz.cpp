// Fuzzes the settings path and section builders with any module file name
// and description: the results are terminated inside their buffers and
// nothing is written past them.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "settings/settings_text.h"

namespace {

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

constexpr unsigned char Canary = 0xA5;
constexpr size_t Guard = 64;

template <size_t Size>
void CheckBuilt(void (*build)(const char*, char*), const std::string& input) {
    unsigned char buffer[Size + Guard];
    std::memset(buffer, Canary, sizeof buffer);
    build(input.c_str(), reinterpret_cast<char*>(buffer));
    Require(std::memchr(buffer, 0, Size) != nullptr);
    for (size_t i = Size; i < sizeof buffer; ++i) Require(buffer[i] == Canary);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string text = input.substr(0, input.find('\0'));
    CheckBuilt<SettingsPathSize>(SettingsPathFromModuleFile, text);
    CheckBuilt<SettingsSectionSize>(BuildSettingsSection, text);

    char path[SettingsPathSize];
    SettingsPathFromModuleFile(text.c_str(), path);
    const size_t length = std::strlen(path);
    Require(length >= 10 && std::strcmp(path + length - 10, "plugin.ini") == 0);
    if (size >= 4) {
        int32_t value;
        std::memcpy(&value, data, 4);
        char decimal[DecimalTextSize];
        FormatDecimal(value, decimal);
        Require(std::to_string(value) == decimal);
    }
    return 0;
}
