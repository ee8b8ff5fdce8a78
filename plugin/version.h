// The plug-in's version, in one place for the DLL, the package and installer.
#pragma once

#define VIS_KT_VERSION "1.1f"
#define VIS_KT_VERSION_NUMBERS 1, 1, 6, 0
