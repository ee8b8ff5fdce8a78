#include "host/win/module_calls.h"

#include <iomanip>
#include <sstream>

#include "host/core/spectrum_data.h"
#include "host/core/waveform.h"

namespace {

std::string Hex(uintptr_t value) {
    std::ostringstream text;
    text << "0x" << std::uppercase << std::hex << std::setfill('0') << std::setw(8) << value;
    return text.str();
}

}  // namespace

void ReportProblem(HostSession& session, const std::string& problem) {
    if (session.error.empty()) session.error = problem;
    session.exitCode = 1;
}

std::string FaultReport(const char* operation, const PluginFault& fault) {
    return std::string("the module's ") + operation + " faulted: exception " + Hex(fault.code) + " at " +
           Hex(reinterpret_cast<uintptr_t>(fault.address)) + "; the module is stopped";
}

void ReportFault(HostSession& session, const char* operation, const PluginFault& fault) {
    ReportProblem(session, FaultReport(operation, fault));
}

void FillRecord(HostSession& session, winampVisModule* module) {
    static const SpectrumTables tables;
    const PcmAudio& audio = *session.audio;
    FillWaveform(audio, session.transport->Position() + FramesIn(module->latencyMs, audio.rate), module->waveformData);
    // The spectrum is of both channels' samples, before a mono waveform mixes them.
    FillSpectrum(module->waveformData, module->spectrumNch, tables, module->spectrumData);
    if (module->waveformNch == 1) MeanOfChannels(module->waveformData, module->waveformData[0]);
}

bool RenderOnce(HostSession& session, winampVisModule* module) {
    int32_t result = 0;
    if (!CallModule(session, "Render", [&] { result = module->Render(module); })) return false;
    if (result == 0) return true;
    session.notice = "the module's Render returned " + std::to_string(result) + "; the module is stopped";
    return false;
}

bool RenderSilence(HostSession& session, winampVisModule* module) {
    for (auto& channel : module->waveformData)
        for (auto& sample : channel) sample = 0;
    if (module->spectrumNch > 0)
        for (auto& channel : module->spectrumData)
            for (auto& bin : channel) bin = 0;
    return RenderOnce(session, module);
}

bool Pump(HostSession& session) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) return false;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return !session.stopRequested;
}
