// The drawing calls of a loaded DLL, recorded by stand-ins in its import
// table that forward to the real functions, and issued again by the caller
// on the same handles. Recording writes into a fixed array: no allocation per
// call.
#pragma once

#include <windows.h>

enum DrawFunction { DrawBitBlt, DrawStretchBlt, DrawFillRect, DrawGetDC, DrawReleaseDC, DrawFunctionCount };

extern const char* const DrawFunctionNames[DrawFunctionCount];

// One call with its arguments; a GetDC's `dc` is the one it returned.
struct DrawCall {
    DrawFunction function;
    HDC dc, source;
    HWND window;
    HBRUSH brush;
    RECT rect;
    int x, y, width, height;
    int sourceX, sourceY, sourceWidth, sourceHeight;
    DWORD rop;
};

bool IsEmptyFill(const DrawCall& call);

struct DrawRecording {
    static constexpr int Capacity = 2048;
    DrawCall calls[Capacity];
    int count = 0;
    bool overflowed = false;
    void Clear() {
        count = 0;
        overflowed = false;
    }
};

// The five functions, called through pointers as the DLL calls its imports.
struct DrawFunctions {
    BOOL(WINAPI* bitBlt)(HDC, int, int, int, int, HDC, int, int, DWORD);
    BOOL(WINAPI* stretchBlt)(HDC, int, int, int, int, HDC, int, int, int, int, DWORD);
    int(WINAPI* fillRect)(HDC, const RECT*, HBRUSH);
    HDC(WINAPI* getDC)(HWND);
    int(WINAPI* releaseDC)(HWND, HDC);
};

// The system's functions, and the stand-ins (which record, then forward).
extern const DrawFunctions SystemDrawFunctions;
extern const DrawFunctions RecordingDrawFunctions;

// Puts the stand-ins into the module's import table; false when a slot could
// not be rewritten. A function the module does not import is left alone: it
// makes no calls to record.
bool InstallDrawRecorder(HMODULE module);

// Where the stand-ins record from now on; null records nothing.
void RecordDrawCallsInto(DrawRecording* recording);

// Issues the recorded calls again, in order, on the recorded handles, except
// that a window DC is the one this replay's GetDC returned. Empty fills are
// left out when asked. Returns how many calls reported failure: a replay of
// calls that fail would time nothing.
int Replay(const DrawRecording& recording, const DrawFunctions& functions, bool skipEmptyFills);
