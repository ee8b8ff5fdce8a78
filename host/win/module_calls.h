// The calls into a running module that the live loop and capture share: the
// record filled before each Render, each call under the guard (and, where no
// one can answer a box, the box watch), and the thread's message pump.
#pragma once

#include <windows.h>

#include "host/win/box_watch.h"
#include "host/win/guarded_call.h"
#include "host/win/host_session.h"

// A problem that ends the run; the first one reported is the one told.
void ReportProblem(HostSession& session, const std::string& problem);

// "the module's OPERATION faulted: exception CODE at ADDRESS; ..."
std::string FaultReport(const char* operation, const PluginFault& fault);
void ReportFault(HostSession& session, const char* operation, const PluginFault& fault);

// Calls into the module under the guard and the call watch. False when the
// call faulted or showed a box that had to be closed: the problem is reported.
template <typename Call>
bool CallModule(HostSession& session, const char* operation, Call call) {
    PluginFault fault;
    CallUnderWay& underWay = GetCurrentThreadId() == session.visThreadId ? session.visCall : session.mainCall;
    if (session.boxWatch) session.boxWatch->Start();
    underWay.Begin(operation);
    const bool returned = Guarded(call, fault);
    underWay.End();
    if (session.boxWatch) session.boxWatch->Stop();
    if (!returned) {
        ReportFault(session, operation, fault);
        return false;
    }
    if (session.boxWatch && session.boxWatch->SawBox()) {
        ReportProblem(session, std::string("the module's ") + operation + " showed a box " +
                                   session.boxWatch->Describe() + " that no one can answer");
        return false;
    }
    return true;
}

// The samples (and the spectrum, when the module asks for it) at the play
// position plus the module's latency.
void FillRecord(HostSession& session, winampVisModule* module);

// One Render under the guard. False once the module is to stop: it faulted,
// or it asked to by a non-zero result, which a plug-in gives when its own
// window was closed, so the run still ends well.
bool RenderOnce(HostSession& session, winampVisModule* module);

// The player's last frame when playback stops: all samples 0.
bool RenderSilence(HostSession& session, winampVisModule* module);

// Dispatches the thread's pending messages. False once WM_QUIT arrives or a
// stop is requested.
bool Pump(HostSession& session);

// Waits up to the given time for messages, dispatching them as they come,
// until the time is up or stopWaiting() says so; it is asked again at least
// every pollMs, and when `wake` (if any) is set. False as Pump.
template <typename Done>
bool PumpFor(HostSession& session, DWORD milliseconds, Done stopWaiting, DWORD pollMs = INFINITE,
             HANDLE wake = nullptr) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        if (!Pump(session)) return false;
        if (stopWaiting()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return true;
        const DWORD left = DWORD(deadline - now);
        MsgWaitForMultipleObjects(wake ? 1 : 0, &wake, FALSE, left < pollMs ? left : pollMs, QS_ALLINPUT);
    }
}
