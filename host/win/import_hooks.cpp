#include "host/win/import_hooks.h"
#include "host/win/critical_section.h"

#include <tlhelp32.h>

#include <cstring>
#include <vector>

#include "host/win/import_table.h"

namespace {

struct HookState {
    CriticalSection lock;
    std::vector<const ImportHook*> hooks;
    std::vector<HMODULE> seen;  // patched, or the platform's and left alone
    bool pluginHooked = false;
};

HookState& State() {
    static HookState state;
    return state;
}

// Holds the state's lock for a scope.
class Locked : public Held {
public:
    Locked() : Held(State().lock) {}
};

bool Seen(HMODULE module) {
    for (HMODULE m : State().seen)
        if (m == module) return true;
    return false;
}

// The platform's libraries live in the Windows folder (Wine's builtin ones
// too); the host is the process's own image.
bool IsPlatformOrHost(HMODULE module) {
    if (module == GetModuleHandleA(nullptr)) return true;
    wchar_t path[MAX_PATH], windows[MAX_PATH];
    const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
    if (!GetModuleFileNameW(module, path, MAX_PATH) || length == 0 || length >= MAX_PATH) return true;
    return _wcsnicmp(path, windows, length) == 0 && (path[length] == L'\\' || path[length] == L'/');
}

void Patch(HMODULE module) {
    for (const ImportHook* hook : State().hooks) {
        if (!*hook->original) {
            if (HMODULE library = GetModuleHandleA(hook->dll))
                *hook->original = reinterpret_cast<void*>(GetProcAddress(library, hook->function));
        }
        void* previous = PatchImport(module, hook->dll, hook->function, hook->replacement);
        if (!*hook->original && previous != hook->replacement) *hook->original = previous;
    }
}

void PatchNewModules() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetCurrentProcessId());
    if (snapshot == INVALID_HANDLE_VALUE) return;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32FirstW(snapshot, &entry); more; more = Module32NextW(snapshot, &entry)) {
        if (Seen(entry.hModule)) continue;
        State().seen.push_back(entry.hModule);
        if (!IsPlatformOrHost(entry.hModule)) Patch(entry.hModule);
    }
    CloseHandle(snapshot);
}

}  // namespace

void AddImportHooks(const ImportHook* hooks, std::size_t count) {
    Locked locked;
    for (std::size_t i = 0; i < count; ++i) State().hooks.push_back(&hooks[i]);
}

void HookPluginModules(HMODULE plugin) {
    Locked locked;
    if (!Seen(plugin)) State().seen.push_back(plugin);
    Patch(plugin);
    State().pluginHooked = true;
    PatchNewModules();
}

void HookNewModules() {
    Locked locked;
    if (State().pluginHooked) PatchNewModules();
}

FARPROC HookedProcAddress(HMODULE library, const char* name, FARPROC found) {
    if (!found || reinterpret_cast<ULONG_PTR>(name) >> 16 == 0) return found;  // absent, or by ordinal
    Locked locked;
    for (const ImportHook* hook : State().hooks) {
        const bool named = std::strcmp(hook->function, name) == 0 && GetModuleHandleA(hook->dll) == library;
        if (!named && *hook->original != reinterpret_cast<void*>(found)) continue;
        if (!*hook->original) *hook->original = reinterpret_cast<void*>(found);
        return reinterpret_cast<FARPROC>(hook->replacement);
    }
    return found;
}
