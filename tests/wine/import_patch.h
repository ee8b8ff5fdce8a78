// Redirects one imported function of a loaded module by rewriting its slot in
// the module's import address table; only that module's calls are affected.
#pragma once

#include <windows.h>

// Returns the address the slot held before, or null when the module does not
// import `function` from `dll` (names compared without regard to case for the
// library, exactly for the function).
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);
