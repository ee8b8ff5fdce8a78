#include "settings/settings_file.h"

#include <windows.h>

#include "plugin/plugin_state.h"
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

void ReadSettings(const winampVisModule* module) {
    SettingsLocation location;
    Locate(module, location);
    Plugin.DockMode = static_cast<uint8_t>(ReadInt(location, "Mode", Plugin.DockMode));
    if ((Plugin.DockMode & DockAttached) == 0) {
        Plugin.WindowX = ReadInt(location, "X", Plugin.WindowX);
        Plugin.WindowY = ReadInt(location, "Y", Plugin.WindowY);
    }
}

void WriteSettings(const winampVisModule* module) {
    SettingsLocation location;
    Locate(module, location);
    WriteInt(location, "Mode", Plugin.DockMode);
    WriteInt(location, "X", Plugin.WindowX);
    WriteInt(location, "Y", Plugin.WindowY);
}
