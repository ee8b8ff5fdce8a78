#include "host/win/plugin_loader.h"

#include "host/win/renderer_choice.h"

namespace {

std::string SystemMessage(DWORD code) {
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = text ? text : "";
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(code) : message + " (error " + std::to_string(code) + ")";
}

// Limits the modules listed from a getter that never returns null.
constexpr int MaxModules = 256;

}  // namespace

bool LoadPlugin(const std::string& path, LoadedPlugin& plugin, std::string& error) {
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    const std::string absolute = length > 0 && length < MAX_PATH ? full : path;
    const DWORD attributes = GetFileAttributesA(absolute.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = path + ": no such file";
        return false;
    }
    ChooseDirectDrawRenderer(absolute);
    // The plug-in's own folder is searched for the DLLs it needs.
    plugin.module = LoadLibraryExA(absolute.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!plugin.module) {
        const DWORD code = GetLastError();
        if (code == ERROR_BAD_EXE_FORMAT) {
            error = path + ": not a DLL that this " + std::to_string(sizeof(void*) * 8) + "-bit host can load";
        } else {
            error = path + ": cannot load it: " + SystemMessage(code);
        }
        return false;
    }
    plugin.getHeader = reinterpret_cast<GetHeaderFunction>(
        reinterpret_cast<void*>(GetProcAddress(plugin.module, "winampVisGetHeader")));
    if (plugin.getHeader) return true;
    error = path + ": has no winampVisGetHeader export; it is not a visualization plug-in";
    FreeLibrary(plugin.module);
    plugin = {};
    return false;
}

std::vector<std::string> ModuleNames(winampVisHeader* header) {
    std::vector<std::string> names;
    for (int i = 0; i < MaxModules; ++i) {
        winampVisModule* module = header->getModule(i);
        if (!module) break;
        names.push_back(module->description ? module->description : "(no description)");
    }
    return names;
}
