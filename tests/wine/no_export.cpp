// no_export.dll: a DLL without winampVisGetHeader, which a host must refuse.
extern "C" __declspec(dllexport) int NotAPlugin() { return 0; }
