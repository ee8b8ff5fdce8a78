// The render cycle and the two render operations: one frame sequence, with
// the spectrum only in the Deduzodo.
#include "window/frame.h"

#include "window/module_ops.h"
#include "window/plugin_instance.h"

namespace {

bool HostMovedSinceDocking(const PluginInstance& plugin, const RECT& host) {
    // The right edge is left out: a player window that only changes width
    // keeps the plug-in window where it is.
    const RECT& last = plugin.LastHostRect;
    return plugin.ForceDocking || host.left != last.left || host.top != last.top || host.bottom != last.bottom;
}

void PrepareFrame(PluginInstance& plugin) {
    if (!plugin.PluginWindow) return;
    RECT host;
    // A player window that is gone has no rectangle: keep position and size.
    if (GetWindowRect(plugin.HostWindow, &host)) {
        plugin.DoubleSize = host.right - host.left > DoubleSizeAboveWidth;
        UpdateWindowSize();
        if ((plugin.Settings.dockMode & DockAttached) && HostMovedSinceDocking(plugin, host)) {
            PlaceDocked(host.left, host.top, host.bottom);
            MoveWindow(plugin.PluginWindow, plugin.Settings.x, plugin.Settings.y, plugin.WindowWidth,
                       plugin.WindowHeight, TRUE);
            plugin.LastHostRect = host;
            plugin.ForceDocking = false;
        }
    }
    BitBlt(plugin.CanvasDC, 0, 0, plugin.WindowWidth, plugin.WindowHeight, plugin.SkinDC, 0, 0, SRCCOPY);
}

void PresentFrame(const PluginInstance& plugin) {
    if (!plugin.PluginWindow) return;
    HDC window = GetDC(plugin.PluginWindow);
    ShowCanvas(window);
    ReleaseDC(plugin.PluginWindow, window);
}

// The meters of the skin, between the restore and the presentation.
int32_t RenderFrame(const winampVisModule* module, const ModuleSkin& skin) {
    PluginInstance& plugin = Instance();
    PaintList paint;
    PrepareFrame(plugin);
    DrawLevelMeter(plugin.meter, module->waveformData, plugin.DisplayFlags & ShowLevelMeter, skin.levelBand, paint);
    if (skin.hasSpectrum) {
        DrawSpectrum(plugin.spectrum, plugin.analysis, module->waveformData, plugin.DisplayFlags & ShowSpectrum,
                     plugin.HostPlaying, paint);
    }
    PaintCanvas(paint);
    PresentFrame(plugin);
    return 0;
}

}  // namespace

const ModuleSkin& SelectedSkin() { return Instance().ModuleKind == ModuleVuMeter ? VuMeterSkin : DeduzodoSkin; }

void UpdateWindowSize() {
    PluginInstance& plugin = Instance();
    plugin.WindowWidth = SkinWidth;
    plugin.WindowHeight = SelectedSkin().height;
    if (plugin.DoubleSize) {
        plugin.WindowWidth *= 2;
        plugin.WindowHeight *= 2;
    }
}

void PlaceDocked(int hostLeft, int hostTop, int hostBottom) {
    PluginInstance& plugin = Instance();
    plugin.Settings.x = hostLeft + (plugin.SpecialHost ? SpecialHostDockOffset : 0);
    plugin.Settings.y = (plugin.Settings.dockMode & DockAtTop) ? hostTop - plugin.WindowHeight : hostBottom;
}

void PaintCanvas(const PaintList& paint) {
    const PluginInstance& plugin = Instance();
    if (!plugin.CanvasDC) return;
    for (int i = 0; i < paint.count; ++i) {
        const BlackRect& r = paint.rects[i];
        // An inverted rectangle must paint nothing, but the platform's fill
        // mirrors it instead; clamp it to an empty one. The fill is still
        // made, so every frame costs the same calls.
        const RECT rect = {r.left, r.top, r.right > r.left ? r.right : r.left, r.bottom > r.top ? r.bottom : r.top};
        FillRect(plugin.CanvasDC, &rect, plugin.BlackBrush);
    }
}

void ShowCanvas(HDC target) {
    const PluginInstance& plugin = Instance();
    if (plugin.DoubleSize) {
        StretchBlt(target, 0, 0, plugin.WindowWidth, plugin.WindowHeight, plugin.CanvasDC, 0, 0,
                   plugin.WindowWidth >> 1, plugin.WindowHeight >> 1, SRCCOPY);
    } else {
        BitBlt(target, 0, 0, plugin.WindowWidth, plugin.WindowHeight, plugin.CanvasDC, 0, 0, SRCCOPY);
    }
}

int32_t VIS_CDECL RenderAnalyzer(winampVisModule* module) { return RenderFrame(module, DeduzodoSkin); }

int32_t VIS_CDECL RenderVuMeter(winampVisModule* module) { return RenderFrame(module, VuMeterSkin); }
