// Redirects one imported function of a loaded module by rewriting its slot in
// the module's import address table; only that module's calls are affected.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Returns the address the slot held before, or null when the module does not
// import `function` from `dll` (names compared without regard to case for the
// library, exactly for the function).
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);

// Every function that the module imports by name, as "library function" with
// the library's name in lower case.
std::vector<std::string> ImportedFunctions(HMODULE module);
