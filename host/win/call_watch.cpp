#include "host/win/call_watch.h"

#include "host/win/abrupt_end.h"
#include "host/win/host_session.h"

namespace {

constexpr DWORD LookEveryMs = 100;

bool PastLimit(const HostSession& session, const CallUnderWay& call, ULONGLONG now) {
    return call.Operation() && now - call.Since() >= ULONGLONG(session.options->callLimitSeconds) * 1000;
}

struct HungCall {
    const HostSession* session;
    const CallUnderWay* call;
};

void Describe(const void* context, int framesKept, char (&line)[512]) {
    const HungCall& hung = *static_cast<const HungCall*>(context);
    const char* operation = hung.call->Operation() ? hung.call->Operation() : "call";
    const int limit = hung.session->options->callLimitSeconds;
    if (lstrcmpA(operation, "Quit") == 0 && hung.session->quitAfterGoodRun) {
        wsprintfA(line,
                  "the module's Quit did not return within %d s (--call-limit), after all %d frames were captured; "
                  "the run counts as failed",
                  limit, framesKept);
    } else {
        wsprintfA(line,
                  "the module's %s did not return within %d s (--call-limit); the module is stopped, %d frames kept",
                  operation, limit, framesKept);
    }
}

}  // namespace

void EndForHungCall(const HostSession& session, const CallUnderWay& call) {
    const HungCall hung{&session, &call};
    EndAbruptly(ExitCallHung, Describe, &hung);
}

CallWatch::CallWatch(HostSession& session)
    : session_(session),
      stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      thread_(CreateThread(nullptr, 0, Watch, this, 0, nullptr)) {}

CallWatch::~CallWatch() {
    SetEvent(stop_);
    if (thread_) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    CloseHandle(stop_);
}

DWORD WINAPI CallWatch::Watch(void* self) {
    CallWatch& watch = *static_cast<CallWatch*>(self);
    HostSession& session = watch.session_;
    const bool ends = session.frameClock || session.options->list;
    const CallUnderWay* told = nullptr;  // live: the call the window was told of
    while (WaitForSingleObject(watch.stop_, LookEveryMs) == WAIT_TIMEOUT) {
        const ULONGLONG now = GetTickCount64();
        for (CallUnderWay* call : {&session.visCall, &session.mainCall}) {
            if (!PastLimit(session, *call, now)) {
                if (told == call) {
                    told = nullptr;
                    session.callHung = false;
                    PostMessageA(session.playerWindow, WM_HOST_CALL_HUNG, 0, 0);
                }
                continue;
            }
            if (ends) EndForHungCall(session, *call);
            if (!told) {
                told = call;
                session.callHung = true;
                PostMessageA(session.playerWindow, WM_HOST_CALL_HUNG, reinterpret_cast<WPARAM>(call), 0);
            }
        }
    }
    return 0;
}
