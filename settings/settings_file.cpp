#include "settings/settings_file.h"

#include <windows.h>

#include "settings/settings_text.h"

namespace {

// The section and path that every lookup and write of one call uses.
struct SettingsLocation {
    char section[SettingsSectionSize];
    char path[SettingsPathSize];
};

void Locate(const winampVisModule* module, SettingsLocation& location) {
    BuildSettingsSection(module->description, location.section);
    SettingsPath(module, location.path);
}

int32_t ReadInt(const SettingsLocation& location, const char* key, int32_t current) {
    return static_cast<int32_t>(GetPrivateProfileIntA(location.section, key, current, location.path));
}

void WriteInt(const SettingsLocation& location, const char* key, int32_t value) {
    char text[DecimalTextSize];
    FormatDecimal(value, text);
    WritePrivateProfileStringA(location.section, key, text, location.path);
}

}  // namespace

char* SettingsPath(const winampVisModule* module, char* buffer) {
    char moduleFile[SettingsPathSize];
    // 0 is a failure; a full buffer means the name was cut (and older
    // systems leave it unterminated then), so its folder is unknown.
    const DWORD length = GetModuleFileNameA(module->hDllInstance, moduleFile, SettingsPathSize);
    const bool known = length > 0 && length < SettingsPathSize;
    SettingsPathFromModuleFile(known ? moduleFile : nullptr, buffer);
    return buffer;
}

WindowSettings ReadSettings(const winampVisModule* module, const WindowSettings& current) {
    SettingsLocation location;
    Locate(module, location);
    WindowSettings read = current;
    read.dockMode = static_cast<uint8_t>(ReadInt(location, "Mode", current.dockMode));
    if ((read.dockMode & DockAttached) == 0) {
        read.x = ReadInt(location, "X", current.x);
        read.y = ReadInt(location, "Y", current.y);
    }
    return read;
}

void WriteSettings(const winampVisModule* module, const WindowSettings& settings) {
    SettingsLocation location;
    Locate(module, location);
    WriteInt(location, "Mode", settings.dockMode);
    WriteInt(location, "X", settings.x);
    WriteInt(location, "Y", settings.y);
}
