#include "tests/wine/settings_fixture.h"

namespace {

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// A full ASCII path with the prefix that lifts the platform's MAX_PATH
// limit, so that the tests can make and remove longer paths too.
std::wstring LongForm(const std::string& path) { return L"\\\\?\\" + Widen(path); }

std::string ExeFolder() {
    char name[MAX_PATH];
    const std::string file(name, GetModuleFileNameA(nullptr, name, MAX_PATH));
    return file.substr(0, file.find_last_of('\\') + 1);
}

// Deletes folder (with its backslash) and everything in it, read-only or not.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + L"\\");
            } else {
                EXPECT_TRUE(DeleteFileW(path.c_str())) << "error " << GetLastError();
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(RemoveDirectoryW(folder.c_str())) << "error " << GetLastError();
}

}  // namespace

void SettingsFileTest::SetUp() {
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    for (int attempt = 0; tempFolder.empty() && attempt < 100; ++attempt) {
        const std::string folder = std::string(temp) + "vis_kt_settings_" + std::to_string(GetCurrentProcessId()) +
                                   "_" + std::to_string(attempt) + "\\";
        if (CreateDirectoryA(folder.c_str(), nullptr)) tempFolder = folder;
    }
    ASSERT_FALSE(tempFolder.empty()) << "no temporary folder, error " << GetLastError();
    deduzodo.description = "Deduzodo";
    vuMeter.description = "VU-Meter";
    deduzodo.hDllInstance = vuMeter.hDllInstance = LoadLibraryCopy(tempFolder, "vis_kt.dll");
    ASSERT_NE(deduzodo.hDllInstance, nullptr);
}

void SettingsFileTest::TearDown() {
    for (HMODULE library : libraries) FreeLibrary(library);
    if (!tempFolder.empty()) RemoveTree(LongForm(tempFolder));
}

HMODULE SettingsFileTest::LoadLibraryCopy(const std::string& folder, const char* dllName) {
    const std::wstring longFolder = LongForm(folder);
    if (GetFileAttributesW(longFolder.c_str()) == INVALID_FILE_ATTRIBUTES) {
        EXPECT_TRUE(CreateDirectoryW(longFolder.c_str(), nullptr))
            << folder.size() << " characters, error " << GetLastError();
    }
    const std::wstring copy = longFolder + Widen(dllName);
    EXPECT_TRUE(CopyFileW(LongForm(ExeFolder() + "vis_kt.dll").c_str(), copy.c_str(), TRUE)) << GetLastError();
    HMODULE library = LoadLibraryW(copy.c_str());
    EXPECT_NE(library, nullptr) << folder << dllName << " error " << GetLastError();
    if (library) libraries.push_back(library);
    return library;
}

void SettingsFileTest::WriteIni(const std::string& bytes) const {
    HANDLE file =
        CreateFileA(IniPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << IniPath() << " error " << GetLastError();
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    EXPECT_EQ(written, bytes.size());
    CloseHandle(file);
    // Three nulls flush the platform's cache of the file.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, IniPath().c_str());
}

std::string SettingsFileTest::ReadIni() const {
    HANDLE file = CreateFileA(IniPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

void SettingsFileTest::ReadDeduzodoSection(const std::string& keys) {
    WriteIni("[ZARir 1.1 Deduzodo]\r\n" + keys);
    Read(deduzodo);
}

void SettingsFileTest::SetState(uint8_t dockMode, int32_t x, int32_t y) { settings = {dockMode, x, y}; }

void SettingsFileTest::ExpectState(int dockMode, int32_t x, int32_t y) const {
    EXPECT_EQ(settings.dockMode, dockMode);
    EXPECT_EQ(settings.x, x);
    EXPECT_EQ(settings.y, y);
}
