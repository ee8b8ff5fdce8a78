// The signal display computes its reals in the x87 extended format (64-bit
// significand) and stores them as doubles: every store rounds once, to
// nearest, whatever precision and rounding the caller left the x87 unit in.
#pragma once

#include <cstdint>
#include <limits>

#if !defined(__i386__) && !defined(__x86_64__)
#error "the signal display needs the x87 unit"
#endif

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64, "long double must be the x87 extended format");

// Rounds an extended value to the stored format. Unless unsafe math is
// allowed, GCC converts through memory on x87, so the double that comes back
// carries no excess precision even while it stays in a register.
inline double Stored(Extended value) { return static_cast<double>(value); }

// The caller's x87 environment: control word, status flags and the rest.
struct X87Environment {
    uint8_t bytes[28];
};
static_assert(sizeof(X87Environment) == 28, "fnstenv stores 28 bytes");

// Saves the caller's environment and sets 64-bit precision, rounding to
// nearest and every exception masked.
inline X87Environment EnterExtendedPrecision() {
    X87Environment caller;
    const uint16_t extended = 0x037F;
    __asm__ volatile("fnstenv %0\n\tfldcw %1" : "=m"(caller) : "m"(extended) : "memory");
    return caller;
}

// Puts back exactly what EnterExtendedPrecision found, status flags too, so
// that no exception raised by the work in between reaches the caller. The
// clobbers keep the compiler from holding x87 registers across the reload.
inline void LeaveExtendedPrecision(const X87Environment& caller) {
    __asm__ volatile("fldenv %0"
                     :
                     : "m"(caller)
                     : "memory", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
}
