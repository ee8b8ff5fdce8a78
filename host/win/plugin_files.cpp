#include "host/win/plugin_files.h"

#include <windows.h>

#include "host/core/plugin_file_rule.h"
#include "host/core/png_frame.h"

namespace {

bool OlderOrMissing(const std::string& path, const FILETIME& than) {
    WIN32_FILE_ATTRIBUTE_DATA copy;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &copy)) return true;
    return CompareFileTime(&copy.ftLastWriteTime, &than) < 0;
}

// Copies what the rule takes from one folder into another, into the plug-in's
// data folders too when DLL_NAME is given (beside the DLL) or INSIDE (in
// one), while the budget lasts.
void MirrorFolder(const std::string& from, const std::string& to, const std::string& dllName, bool inside,
                  uint64_t& budget) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string source = from + "\\" + name, copy = to + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            std::string error;
            if ((inside || IsPluginDataFolder(dllName, name)) && MakeFolder(copy, error))
                MirrorFolder(source, copy, dllName, true, budget);
            continue;
        }
        const uint64_t bytes = (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        if (!CopiesPluginFile(name, bytes, inside) || bytes > budget) continue;
        budget -= bytes;
        if (OlderOrMissing(copy, found.ftLastWriteTime)) CopyFileA(source.c_str(), copy.c_str(), FALSE);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

bool MirrorPluginFiles(const std::string& pluginFolder, const std::string& dllName, const std::string& pluginsFolder,
                       std::string& error) {
    if (!MakeFolder(pluginsFolder, error)) return false;
    uint64_t budget = PluginCopyBudgetBytes;
    MirrorFolder(pluginFolder, pluginsFolder, dllName, false, budget);
    return true;
}
