// The render cycle and the two render operations: one frame sequence, with
// the spectrum only in the Deduzodo.
#include "window/canvas.h"
#include "window/module_ops.h"
#include "window/placement.h"
#include "window/plugin_instance.h"

namespace {

void PrepareFrame() {
    if (!Plugin.PluginWindow) return;
    FollowHostWindow();
    BitBlt(Plugin.CanvasDC, 0, 0, Plugin.WindowWidth, Plugin.WindowHeight, Plugin.SkinDC, 0, 0, SRCCOPY);
}

void PresentFrame() {
    if (!Plugin.PluginWindow) return;
    HDC window = GetDC(Plugin.PluginWindow);
    ShowCanvas(window);
    ReleaseDC(Plugin.PluginWindow, window);
}

// The meters of the skin, between the restore and the presentation.
int32_t RenderFrame(const winampVisModule* module, const ModuleSkin& skin) {
    PaintList paint;
    PrepareFrame();
    DrawLevelMeter(Plugin.meter, module->waveformData, Plugin.DisplayFlags & ShowLevelMeter, skin.levelBand, paint);
    if (skin.hasSpectrum) {
        DrawSpectrum(Plugin.spectrum, Plugin.analysis, module->waveformData, Plugin.DisplayFlags & ShowSpectrum,
                     Plugin.HostPlaying, paint);
    }
    PaintCanvas(paint);
    PresentFrame();
    return 0;
}

}  // namespace

int32_t VIS_CDECL RenderAnalyzer(winampVisModule* module) { return RenderFrame(module, DeduzodoSkin); }

int32_t VIS_CDECL RenderVuMeter(winampVisModule* module) { return RenderFrame(module, VuMeterSkin); }
