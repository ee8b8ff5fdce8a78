#include "host/win/player_messages.h"

#include <shlobj.h>

#include <cstdint>

#include "host/core/png_frame.h"
#include "host/win/embed_frame.h"
#include "host/win/plugin_files.h"
#include "host/win/service_object.h"
#include "plugin/player_protocol.h"

namespace {

// The player's random numbers: a fixed seed, so that captures repeat.
uint32_t RandomState = 0x2545F491u;

int VIS_CDECL PlayerRandom() {
    RandomState ^= RandomState << 13;
    RandomState ^= RandomState >> 17;
    RandomState ^= RandomState << 5;
    return int(RandomState & 0x7FFFFFFFu);
}

LRESULT Pointer(const void* value) { return reinterpret_cast<LRESULT>(value); }

LRESULT Version(PlayerServices&, WPARAM) { return PlayerVersion; }
LRESULT IsPlaying(PlayerServices& s, WPARAM) { return IsPlayingAnswer(s.transport->State()); }

LRESULT OutputTime(PlayerServices& s, WPARAM what) {
    Transport& transport = *s.transport;
    const int64_t rate = transport.Rate() > 0 ? transport.Rate() : 1;
    switch (what) {
    case 0:
        if (transport.State() == PlayState::Stopped) return -1;
        return LRESULT(transport.Position() * 1000 / rate);
    case 1: return LRESULT(transport.TotalFrames() / rate);
    case 2: return LRESULT(transport.TotalFrames() * 1000 / rate);
    default: return -1;
    }
}

LRESULT One(PlayerServices&, WPARAM) { return 1; }
LRESULT Zero(PlayerServices&, WPARAM) { return 0; }

LRESULT Skin(PlayerServices& s, WPARAM buffer) {
    if (buffer) lstrcpynA(reinterpret_cast<char*>(buffer), s.texts.skinFolder.c_str(), MAX_PATH);
    return Pointer(s.texts.skinName.c_str());
}

// The playlist holds the playing file alone.
LRESULT PlaylistEntry(const PlayerServices& s, WPARAM index, const void* text) {
    return index == 0 && !s.texts.filePath.empty() ? Pointer(text) : 0;
}
LRESULT PlaylistFile(PlayerServices& s, WPARAM index) { return PlaylistEntry(s, index, s.texts.filePath.c_str()); }
LRESULT PlaylistTitle(PlayerServices& s, WPARAM index) { return PlaylistEntry(s, index, s.texts.fileTitle.c_str()); }
LRESULT PlaylistTitleWide(PlayerServices& s, WPARAM index) {
    return PlaylistEntry(s, index, s.texts.fileTitleWide.c_str());
}

LRESULT IniFile(PlayerServices& s, WPARAM) { return Pointer(s.texts.iniFile.c_str()); }
LRESULT IniFolder(PlayerServices& s, WPARAM) { return Pointer(s.texts.settingsFolder.c_str()); }
LRESULT PluginFolder(PlayerServices& s, WPARAM) { return Pointer(s.texts.pluginFolder.c_str()); }
LRESULT IniFileWide(PlayerServices& s, WPARAM) { return Pointer(s.texts.iniFileWide.c_str()); }
LRESULT IniFolderWide(PlayerServices& s, WPARAM) { return Pointer(s.texts.settingsFolderWide.c_str()); }
LRESULT PluginFolderWide(PlayerServices& s, WPARAM) { return Pointer(s.texts.pluginFolderWide.c_str()); }
LRESULT DialogParent(PlayerServices& s, WPARAM) { return Pointer(s.mainWindow); }

LRESULT EmbedInterface(PlayerServices&, WPARAM state) {
    if (!state) return Pointer(reinterpret_cast<const void*>(&EmbedFrame));
    return Pointer(EmbedFrame(reinterpret_cast<embedWindowState*>(state)));
}

LRESULT SetVisWindow(PlayerServices& s, WPARAM window) {
    s.visWindow = reinterpret_cast<HWND>(window);
    return 0;
}
LRESULT GetVisWindow(PlayerServices& s, WPARAM) { return Pointer(s.visWindow); }
LRESULT RandomPresetNotice(PlayerServices& s, WPARAM value) {
    s.randomPresetNotice = LPARAM(value);
    return 0;
}
LRESULT FullScreenFlag(PlayerServices& s, WPARAM value) {
    s.fullScreen = LPARAM(value);
    return 0;
}
LRESULT RandomFunction(PlayerServices&, WPARAM) { return Pointer(reinterpret_cast<const void*>(&PlayerRandom)); }
LRESULT Service(PlayerServices&, WPARAM) { return Pointer(PlayerServiceObject()); }

// The newest of the Direct3D helper libraries the player looks for.
LRESULT D3dx9Library(PlayerServices& s, WPARAM) {
    if (!s.d3dx9Looked) {
        s.d3dx9Looked = true;
        for (int version = 43; version >= 24 && !s.d3dx9; --version) {
            const std::string name = "d3dx9_" + std::to_string(version) + ".dll";
            s.d3dx9 = LoadLibraryA(name.c_str());
        }
    }
    return Pointer(s.d3dx9);
}

struct Answer {
    int32_t id;
    LRESULT (*answer)(PlayerServices&, WPARAM);
};

const Answer Answers[] = {
    {PlayerQuery::Version, Version},
    {PlayerQuery::IsPlaying, IsPlaying},
    {PlayerQuery::OutputTime, OutputTime},
    {PlayerQuery::ListLength, One},
    {PlayerQuery::ListPosition, Zero},
    {PlayerQuery::Skin, Skin},
    {PlayerQuery::PlaylistFile, PlaylistFile},
    {PlayerQuery::PlaylistTitle, PlaylistTitle},
    {PlayerQuery::PlaylistTitleWide, PlaylistTitleWide},
    {PlayerQuery::Shuffle, Zero},
    {PlayerQuery::Repeat, Zero},
    {PlayerQuery::IniFile, IniFile},
    {PlayerQuery::IniFolder, IniFolder},
    {PlayerQuery::PluginFolder, PluginFolder},
    {PlayerQuery::IniFileWide, IniFileWide},
    {PlayerQuery::IniFolderWide, IniFolderWide},
    {PlayerQuery::PluginFolderWide, PluginFolderWide},
    {PlayerQuery::DialogParent, DialogParent},
    {PlayerQuery::PlayingVideo, Zero},
    {PlayerQuery::EmbedInterface, EmbedInterface},
    {PlayerQuery::SetVisWindow, SetVisWindow},
    {PlayerQuery::GetVisWindow, GetVisWindow},
    {PlayerQuery::RandomPresetNotice, RandomPresetNotice},
    {PlayerQuery::FullScreenFlag, FullScreenFlag},
    {PlayerQuery::IsModernSkinMain, Zero},
    {PlayerQuery::RandomFunction, RandomFunction},
    {PlayerQuery::ServiceObject, Service},
    {PlayerQuery::D3dx9Library, D3dx9Library},
};

std::wstring Wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
    if (length > 1) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    return wide;
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

LRESULT AnswerPlayerQuery(PlayerServices& services, WPARAM argument, LPARAM id) {
    for (const Answer& answer : Answers)
        if (answer.id == id) return answer.answer(services, argument);
    return 1;
}

std::string DefaultSettingsFolder() {
    char folder[MAX_PATH];
    if (SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder) != S_OK) return "vis_host";
    return std::string(folder) + "\\vis_host";
}

bool PreparePlayerTexts(PlayerTexts& texts, const std::string& settingsFolder, const std::string& pluginPath,
                        const std::string& audioPath, std::string& error) {
    texts.settingsFolder = FullPath(settingsFolder);
    texts.skinName = "vis_host";
    texts.skinFolder = texts.settingsFolder + "\\Skins\\" + texts.skinName;
    if (!MakeFolder(texts.skinFolder, error)) return false;
    texts.iniFile = texts.settingsFolder + "\\winamp.ini";
    const std::string dll = FullPath(pluginPath);
    texts.pluginFolder = FolderOf(dll);
    if (!MirrorPluginFiles(texts.pluginFolder, dll.substr(dll.find_last_of("\\/") + 1),
                           texts.settingsFolder + "\\Plugins", error))
        return false;
    if (!audioPath.empty()) {
        texts.filePath = FullPath(audioPath);
        const std::string name = texts.filePath.substr(texts.filePath.find_last_of("\\/") + 1);
        texts.fileTitle = name.substr(0, name.find_last_of('.'));
    }
    texts.fileTitleWide = Wide(texts.fileTitle);
    texts.settingsFolderWide = Wide(texts.settingsFolder);
    texts.iniFileWide = Wide(texts.iniFile);
    texts.pluginFolderWide = Wide(texts.pluginFolder);
    return true;
}
