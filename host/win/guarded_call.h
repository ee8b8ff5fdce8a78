// Calls into a plug-in under a guard, as the player does: a processor fault
// inside the call (an access violation, an illegal instruction, a C++
// exception of the plug-in's compiler) that nothing in the plug-in handles
// ends the call instead of the process. The plug-in's own handlers see every
// fault first: one it handles goes on untouched.
#pragma once

#include <windows.h>

struct PluginFault {
    DWORD code = 0;
    void* address = nullptr;
};

// True when call(context) returned; false with the fault filled when it
// faulted. Guarded calls may run on several threads at once.
bool CallGuarded(void (*call)(void*), void* context, PluginFault& fault);

// Where a fault goes that nothing handled on a thread outside any guarded
// call (a thread the plug-in or its DLLs started): the handler ends the run
// and does not return. Without one, such a fault goes on to the filter that
// was there before.
using StrayFaultHandler = void (*)(const EXCEPTION_RECORD& record);
void SetStrayFaultHandler(StrayFaultHandler handler);

// Puts the guard's filter back in front when a plug-in replaced it with its
// own, which then runs before the guard's, as the last of its handlers.
void KeepFaultFilter();

template <typename Call>
bool Guarded(Call call, PluginFault& fault) {
    return CallGuarded([](void* context) { (*static_cast<Call*>(context))(); }, &call, fault);
}
