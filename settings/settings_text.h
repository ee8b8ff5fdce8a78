// Texts of the settings file: its path next to the library, the section
// name of a module and the decimal form of a value. Platform-free, so the
// native tests can feed them any input.
#pragma once

#include <cstddef>
#include <cstdint>

// The platform's MAX_PATH, terminating zero included.
constexpr size_t SettingsPathSize = 260;
// "ZARir 1.1 " and up to ten characters of the description, plus the zero.
constexpr size_t SettingsSectionSize = 21;
// "-2147483648" plus the zero.
constexpr size_t DecimalTextSize = 12;

extern const char SettingsFileName[];  // "plugin.ini"

// Fills out (SettingsPathSize characters) with "plugin.ini" after the
// folder of moduleFile, the folder keeping its trailing backslash. The bare
// "plugin.ini" comes out when moduleFile is null or has no backslash, and
// also when the folder is too long for the result to fit: the platform then
// resolves the bare name itself, and nothing is written past out's end.
void SettingsPathFromModuleFile(const char* moduleFile, char* out);

// Fills out (SettingsSectionSize characters) with "ZARir 1.1 " followed by
// description (null counts as empty), cut where it would not fit.
void BuildSettingsSection(const char* description, char* out);

// Fills out (DecimalTextSize characters) with the shortest decimal form of
// value: a minus sign when negative, no leading zeros, no blanks.
void FormatDecimal(int32_t value, char* out);
