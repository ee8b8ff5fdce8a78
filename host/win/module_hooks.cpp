// The libraries a captured plug-in loads, hooked as it is, and the functions
// it looks up by name, answered with the hooks where there are some.
#include <windows.h>

#include "host/win/import_hooks.h"
#include "host/win/time_hooks.h"

namespace {

template <typename Library>
Library Hooked(Library library) {
    if (library) HookNewModules();
    return library;
}

HMODULE WINAPI HookLoadLibraryA(const char* name) { return Hooked(LoadLibraryA(name)); }
HMODULE WINAPI HookLoadLibraryW(const wchar_t* name) { return Hooked(LoadLibraryW(name)); }
HMODULE WINAPI HookLoadLibraryExA(const char* name, HANDLE file, DWORD flags) {
    return Hooked(LoadLibraryExA(name, file, flags));
}
HMODULE WINAPI HookLoadLibraryExW(const wchar_t* name, HANDLE file, DWORD flags) {
    return Hooked(LoadLibraryExW(name, file, flags));
}

FARPROC WINAPI HookGetProcAddress(HMODULE library, const char* name) {
    return HookedProcAddress(library, name, GetProcAddress(library, name));
}

void* Platform[5];

const ImportHook Hooks[] = {
    {"kernel32.dll", "LoadLibraryA", reinterpret_cast<void*>(HookLoadLibraryA), &Platform[0]},
    {"kernel32.dll", "LoadLibraryW", reinterpret_cast<void*>(HookLoadLibraryW), &Platform[1]},
    {"kernel32.dll", "LoadLibraryExA", reinterpret_cast<void*>(HookLoadLibraryExA), &Platform[2]},
    {"kernel32.dll", "LoadLibraryExW", reinterpret_cast<void*>(HookLoadLibraryExW), &Platform[3]},
    {"kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(HookGetProcAddress), &Platform[4]},
};

}  // namespace

void AddModuleHooks() { AddImportHooks(Hooks, sizeof Hooks / sizeof Hooks[0]); }
