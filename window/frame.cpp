// The render cycle and the two render operations: one frame sequence, with
// the spectrum only in the Deduzodo.
#include "window/canvas.h"
#include "window/module_ops.h"
#include "window/placement.h"
#include "window/plugin_instance.h"

namespace {

// The meters step at every frame; the window is drawn only when what they
// leave to paint, its size or its place changed.
int32_t RenderFrame(const winampVisModule* module, const ModuleSkin& skin) {
    const bool window = Plugin.PluginWindow != nullptr;
    // A window just moved is presented at its new place at once.
    if (window && FollowHostWindow()) Plugin.shown.current = false;
    PaintList paint;
    DrawLevelMeter(Plugin.meter, module->waveformData, Plugin.DisplayFlags & ShowLevelMeter, skin.levelBand, paint);
    if (skin.hasSpectrum) {
        DrawSpectrum(Plugin.spectrum, Plugin.analysis, module->waveformData, Plugin.DisplayFlags & ShowSpectrum,
                     Plugin.HostPlaying, paint);
    }
    if (window) ShowPicture(paint);
    return 0;
}

}  // namespace

int32_t VIS_CDECL RenderAnalyzer(winampVisModule* module) { return RenderFrame(module, DeduzodoSkin); }

int32_t VIS_CDECL RenderVuMeter(winampVisModule* module) { return RenderFrame(module, VuMeterSkin); }
