// Calls into a plug-in under a guard, as the player does: a processor fault
// inside the call (an access violation, an illegal instruction) ends the call
// instead of the process.
#pragma once

#include <windows.h>

struct PluginFault {
    DWORD code = 0;
    void* address = nullptr;
};

// True when call(context) returned; false with the fault filled when it
// faulted. Only one guarded call may run at a time, on any thread.
bool CallGuarded(void (*call)(void*), void* context, PluginFault& fault);

template <typename Call>
bool Guarded(Call call, PluginFault& fault) {
    return CallGuarded([](void* context) { (*static_cast<Call*>(context))(); }, &call, fault);
}
