#include "host/win/import_table.h"

#include <cctype>
#include <cstring>

namespace {

template <typename T>
T* At(HMODULE module, DWORD rva) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + rva);
}

// A descriptor without an import name table holds only the bound addresses,
// so the slot is found by the address the function has in its library.
bool SlotMatches(HMODULE module, const IMAGE_THUNK_DATA* name, const IMAGE_THUNK_DATA* slot, bool hasNames,
                 FARPROC bound, const char* function) {
    if (!hasNames) return bound && slot->u1.Function == reinterpret_cast<ULONG_PTR>(bound);
    if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) return false;
    const auto* byName = At<IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(name->u1.AddressOfData));
    return std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0;
}

IMAGE_IMPORT_DESCRIPTOR* FirstImport(HMODULE module) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    // IMAGE_NT_HEADERS is the 32- or 64-bit layout, matching this build.
    const auto* nt = At<IMAGE_NT_HEADERS>(module, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    return imports.VirtualAddress ? At<IMAGE_IMPORT_DESCRIPTOR>(module, imports.VirtualAddress) : nullptr;
}

}  // namespace

std::vector<std::string> ImportedFunctions(HMODULE module) {
    std::vector<std::string> found;
    IMAGE_IMPORT_DESCRIPTOR* entry = module ? FirstImport(module) : nullptr;
    for (; entry && entry->Name; ++entry) {
        std::string dll = At<const char>(module, entry->Name);
        for (char& c : dll) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const auto* name = At<IMAGE_THUNK_DATA>(module, entry->OriginalFirstThunk);
        for (; entry->OriginalFirstThunk && name->u1.AddressOfData; ++name) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
            const auto* byName = At<IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(name->u1.AddressOfData));
            found.push_back(dll + " " + reinterpret_cast<const char*>(byName->Name));
        }
    }
    return found;
}

void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement) {
    if (!module) return nullptr;
    HMODULE library = GetModuleHandleA(dll);
    const FARPROC bound = library ? GetProcAddress(library, function) : nullptr;
    for (auto* entry = FirstImport(module); entry && entry->Name; ++entry) {
        if (_stricmp(At<const char>(module, entry->Name), dll) != 0) continue;
        const bool hasNames = entry->OriginalFirstThunk != 0;
        auto* name = At<IMAGE_THUNK_DATA>(module, hasNames ? entry->OriginalFirstThunk : entry->FirstThunk);
        auto* slot = At<IMAGE_THUNK_DATA>(module, entry->FirstThunk);
        for (; slot->u1.Function; ++name, ++slot) {
            if (!SlotMatches(module, name, slot, hasNames, bound, function)) continue;
            void* previous = reinterpret_cast<void*>(slot->u1.Function);
            DWORD protection = 0;
            if (!VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection)) {
                return nullptr;
            }
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
            return previous;
        }
    }
    return nullptr;
}
