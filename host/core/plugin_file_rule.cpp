#include "host/core/plugin_file_rule.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string Extension(const std::string& name) {
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : Lower(name.substr(dot + 1));
}

bool OneOf(const std::string& extension, std::initializer_list<const char*> list) {
    return std::any_of(list.begin(), list.end(), [&](const char* entry) { return extension == entry; });
}

}  // namespace

bool CopiesPluginFile(const std::string& name, uint64_t bytes, bool insideDataFolder) {
    if (bytes > PluginFileMaxBytes) return false;
    const std::string extension = Extension(name);
    if (!insideDataFolder) return OneOf(extension, {"ini", "dat", "cfg", "txt"});
    const bool code = OneOf(extension, {"dll", "exe", "ape", "com", "bat", "cmd", "scr"});
    const bool audio = OneOf(extension, {"wav", "mp3", "ogg", "flac", "aac", "m4a", "wma", "mid", "mod", "opus"});
    const bool video = OneOf(extension, {"mp4", "avi", "mkv", "mov", "webm", "wmv", "mpg", "mpeg", "flv"});
    const bool picture = OneOf(extension, {"png", "jpg", "jpeg", "gif", "bmp", "tga", "tif", "tiff", "psd", "dds"});
    return !code && !audio && !video && !picture;
}

bool IsPluginDataFolder(const std::string& dllName, const std::string& folder) {
    std::string stem = Lower(dllName.substr(0, dllName.find_last_of('.')));
    if (stem.rfind("vis_", 0) == 0) stem.erase(0, 4);
    while (!stem.empty() && std::isdigit(static_cast<unsigned char>(stem.back()))) stem.pop_back();
    return !stem.empty() && Lower(folder).rfind(stem, 0) == 0;
}
