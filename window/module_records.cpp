// The library's export, its header and the two module records: where the
// operations of every folder come together for the player.
#include "plugin/version.h"
#include "window/module_ops.h"
#include "window/plugin_instance.h"

namespace {

winampVisModule* VIS_CDECL GetModule(int32_t index);

winampVisHeader Header = {0x101, "KT Deduzodo Library v" VIS_KT_VERSION " - Quasar Sonobar gui", GetModule};

winampVisModule MakeRecord(const char* description, int32_t(VIS_CDECL* render)(winampVisModule*)) {
    winampVisModule record{};
    record.description = description;
    record.latencyMs = 25;
    record.delayMs = 25;
    record.spectrumNch = 0;
    record.waveformNch = 2;
    record.Config = Config;
    record.Init = Init;
    record.Render = render;
    record.Quit = Quit;
    return record;
}

winampVisModule DeduzodoRecord = MakeRecord("Deduzodo", RenderAnalyzer);
winampVisModule VuMeterRecord = MakeRecord("VU-Meter", RenderVuMeter);

winampVisModule* VIS_CDECL GetModule(int32_t index) {
    switch (index) {
    case 0: Plugin.ModuleKind = ModuleDeduzodo; return &DeduzodoRecord;
    case 1: Plugin.ModuleKind = ModuleVuMeter; return &VuMeterRecord;
    default: Plugin.ModuleKind = ModuleNone; return nullptr;
    }
}

}  // namespace

extern "C" __declspec(dllexport) winampVisHeader* VIS_CDECL winampVisGetHeader() { return &Header; }
