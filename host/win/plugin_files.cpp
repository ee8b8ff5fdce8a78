#include "host/win/plugin_files.h"

#include <windows.h>

#include "host/core/png_frame.h"

namespace {

// A user's player folder holds many plug-ins: only their small files come.
constexpr DWORD MaxFileBytes = 16 * 1024 * 1024;

bool IsCode(const std::string& name) {
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) return false;
    const std::string extension = name.substr(dot);
    return lstrcmpiA(extension.c_str(), ".dll") == 0 || lstrcmpiA(extension.c_str(), ".exe") == 0;
}

bool OlderOrMissing(const std::string& path, const FILETIME& than) {
    WIN32_FILE_ATTRIBUTE_DATA copy;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &copy)) return true;
    return CompareFileTime(&copy.ftLastWriteTime, &than) < 0;
}

}  // namespace

bool MirrorPluginFiles(const std::string& pluginFolder, const std::string& pluginsFolder, std::string& error) {
    if (!MakeFolder(pluginsFolder, error)) return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((pluginFolder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return true;
    do {
        const std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsCode(name) || found.nFileSizeHigh ||
            found.nFileSizeLow > MaxFileBytes) {
            continue;
        }
        const std::string copy = pluginsFolder + "\\" + name;
        if (OlderOrMissing(copy, found.ftLastWriteTime))
            CopyFileA((pluginFolder + "\\" + name).c_str(), copy.c_str(), FALSE);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}
