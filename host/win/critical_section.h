// A critical section that is ready when made, and a scope that holds it.
#pragma once

#include <windows.h>

class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    void Enter() { EnterCriticalSection(&section_); }
    void Leave() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

class Held {
public:
    explicit Held(CriticalSection& section) : section_(section) { section_.Enter(); }
    ~Held() { section_.Leave(); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

private:
    CriticalSection& section_;
};
