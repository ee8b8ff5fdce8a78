#include "host/win/renderer_choice.h"

#include <windows.h>

#include <cstdlib>

namespace {

// The DLLs the plug-in imports, read from its image mapped as a resource.
template <typename Visit>
void ForEachImport(const std::string& path, Visit visit) {
    HMODULE mapped = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
    if (!mapped) return;
    // The low bits of a handle mapped so say how; the image starts below them.
    const auto* base = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(mapped) & ~ULONG_PTR(3));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dos->e_magic == IMAGE_DOS_SIGNATURE && nt->Signature == IMAGE_NT_SIGNATURE && imports.VirtualAddress) {
        for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name;
             ++entry)
            visit(reinterpret_cast<const char*>(base + entry->Name));
    }
    FreeLibrary(mapped);
}

}  // namespace

void ChooseDirectDrawRenderer(const std::string& pluginPath) {
    if (std::getenv("WINE_D3D_CONFIG")) return;
    bool directDraw = false, threeD = false;
    ForEachImport(pluginPath, [&](const char* name) {
        directDraw |= lstrcmpiA(name, "ddraw.dll") == 0;
        for (const char* library : {"d3d8.dll", "d3d9.dll", "d3d10.dll", "d3d11.dll", "dxgi.dll", "opengl32.dll"})
            threeD |= lstrcmpiA(name, library) == 0;
    });
    if (!directDraw || threeD) return;
    // Wine reads the setting through a C runtime, and each runtime loaded
    // already keeps a copy of the environment of its own.
    SetEnvironmentVariableA("WINE_D3D_CONFIG", "renderer=gdi");
    for (const char* runtime : {"msvcrt.dll", "ucrtbase.dll"}) {
        HMODULE loaded = GetModuleHandleA(runtime);
        using PutEnv = int(__cdecl*)(const char*);
        auto put =
            loaded ? reinterpret_cast<PutEnv>(reinterpret_cast<void*>(GetProcAddress(loaded, "_putenv"))) : nullptr;
        if (put) put("WINE_D3D_CONFIG=renderer=gdi");
    }
}
