// Watches the calls into the plug-in for ones that never return. In capture
// mode and with --list such a call ends the run (exit code 3) once it has
// run for the call limit; live, the player window's title says the module
// does not answer, and closing the window ends vis_host.
#pragma once

#include <windows.h>

#include <atomic>

// The call into the plug-in under way on one thread.
class CallUnderWay {
public:
    void Begin(const char* operation) {
        since_ = GetTickCount64();
        operation_ = operation;
    }
    void End() { operation_ = nullptr; }
    const char* Operation() const { return operation_; }
    ULONGLONG Since() const { return since_; }

private:
    std::atomic<const char*> operation_{nullptr};
    std::atomic<ULONGLONG> since_{0};
};

struct HostSession;

// Ends the run whose call did not return, with a line that names the call
// and the limit.
[[noreturn]] void EndForHungCall(const HostSession& session, const CallUnderWay& call);

class CallWatch {
public:
    explicit CallWatch(HostSession& session);
    ~CallWatch();
    CallWatch(const CallWatch&) = delete;
    CallWatch& operator=(const CallWatch&) = delete;

private:
    static DWORD WINAPI Watch(void* self);
    HostSession& session_;
    HANDLE stop_;
    HANDLE thread_;
};
