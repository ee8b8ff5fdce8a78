#include "tools/bench/draw_calls.h"

#include <string>

#include "host/win/import_table.h"

const char* const DrawFunctionNames[DrawFunctionCount] = {"BitBlt", "StretchBlt", "FillRect", "GetDC", "ReleaseDC"};

const DrawFunctions SystemDrawFunctions = {BitBlt, StretchBlt, FillRect, GetDC, ReleaseDC};

namespace {

// What the module's slots held; the system's functions until patched, so the
// stand-ins can also be called by the bench itself.
DrawFunctions Forward = SystemDrawFunctions;
DrawRecording* Target = nullptr;

DrawCall* Next(DrawFunction function) {
    if (!Target) return nullptr;
    if (Target->count == DrawRecording::Capacity) {
        Target->overflowed = true;
        return nullptr;
    }
    DrawCall* call = &Target->calls[Target->count++];
    call->function = function;
    return call;
}

// The arguments that BitBlt and StretchBlt share.
DrawCall* NextBlit(DrawFunction function, HDC dc, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, DWORD rop) {
    DrawCall* call = Next(function);
    if (call) {
        call->dc = dc;
        call->source = source;
        call->x = x;
        call->y = y;
        call->width = width;
        call->height = height;
        call->sourceX = sourceX;
        call->sourceY = sourceY;
        call->rop = rop;
    }
    return call;
}

BOOL WINAPI RecordBitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop) {
    NextBlit(DrawBitBlt, dc, x, y, width, height, source, sourceX, sourceY, rop);
    return Forward.bitBlt(dc, x, y, width, height, source, sourceX, sourceY, rop);
}

BOOL WINAPI RecordStretchBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                             int sourceWidth, int sourceHeight, DWORD rop) {
    if (DrawCall* call = NextBlit(DrawStretchBlt, dc, x, y, width, height, source, sourceX, sourceY, rop)) {
        call->sourceWidth = sourceWidth;
        call->sourceHeight = sourceHeight;
    }
    return Forward.stretchBlt(dc, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, rop);
}

int WINAPI RecordFillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    DrawCall* call = Next(DrawFillRect);
    if (call) {
        call->dc = dc;
        call->brush = brush;
        // A fill without a rectangle is recorded as an empty one.
        call->rect = rect ? *rect : RECT{};
    }
    return Forward.fillRect(dc, rect, brush);
}

HDC WINAPI RecordGetDC(HWND window) {
    DrawCall* call = Next(DrawGetDC);
    const HDC dc = Forward.getDC(window);
    if (call) {
        call->window = window;
        call->dc = dc;
    }
    return dc;
}

int WINAPI RecordReleaseDC(HWND window, HDC dc) {
    if (DrawCall* call = Next(DrawReleaseDC)) {
        call->window = window;
        call->dc = dc;
    }
    return Forward.releaseDC(window, dc);
}

template <typename Function>
bool Patch(HMODULE module, const char* dll, const char* name, Function standIn, Function& forward) {
    // Only the import table is looked at: a module that does not import the
    // function has no slot, and that is no failure.
    bool imported = false;
    for (const auto& entry : ImportedFunctions(module)) {
        if (entry == std::string(dll) + " " + name) imported = true;
    }
    if (!imported) return true;
    void* previous = PatchImport(module, dll, name, reinterpret_cast<void*>(standIn));
    if (!previous) return false;
    forward = reinterpret_cast<Function>(previous);
    return true;
}

// A window DC in a replay is the one its own GetDC returned, found by the
// one the recorded GetDC had returned.
struct WindowDCs {
    static constexpr int Size = 8;
    HDC recorded[Size] = {};
    HDC replayed[Size] = {};
    int next = 0;
    void Add(HDC from, HDC to) {
        recorded[next] = from;
        replayed[next] = to;
        next = (next + 1) % Size;
    }
    HDC operator()(HDC dc) const {
        for (int i = 0; i < Size; ++i) {
            if (dc && recorded[i] == dc) return replayed[i];
        }
        return dc;
    }
};

}  // namespace

const DrawFunctions RecordingDrawFunctions = {RecordBitBlt, RecordStretchBlt, RecordFillRect, RecordGetDC,
                                              RecordReleaseDC};

bool IsEmptyFill(const DrawCall& call) {
    return call.function == DrawFillRect && (call.rect.right <= call.rect.left || call.rect.bottom <= call.rect.top);
}

bool InstallDrawRecorder(HMODULE module) {
    return Patch(module, "gdi32.dll", "BitBlt", &RecordBitBlt, Forward.bitBlt) &&
           Patch(module, "gdi32.dll", "StretchBlt", &RecordStretchBlt, Forward.stretchBlt) &&
           Patch(module, "user32.dll", "FillRect", &RecordFillRect, Forward.fillRect) &&
           Patch(module, "user32.dll", "GetDC", &RecordGetDC, Forward.getDC) &&
           Patch(module, "user32.dll", "ReleaseDC", &RecordReleaseDC, Forward.releaseDC);
}

void RecordDrawCallsInto(DrawRecording* recording) { Target = recording; }

int Replay(const DrawRecording& recording, const DrawFunctions& functions, bool skipEmptyFills) {
    WindowDCs windowDC;
    int failed = 0;
    for (int i = 0; i < recording.count; ++i) {
        const DrawCall& c = recording.calls[i];
        switch (c.function) {
        case DrawBitBlt:
            failed += !functions.bitBlt(windowDC(c.dc), c.x, c.y, c.width, c.height, windowDC(c.source), c.sourceX,
                                        c.sourceY, c.rop);
            break;
        case DrawStretchBlt:
            failed += !functions.stretchBlt(windowDC(c.dc), c.x, c.y, c.width, c.height, windowDC(c.source), c.sourceX,
                                            c.sourceY, c.sourceWidth, c.sourceHeight, c.rop);
            break;
        case DrawFillRect:
            if (skipEmptyFills && IsEmptyFill(c)) break;
            failed += !functions.fillRect(windowDC(c.dc), &c.rect, c.brush);
            break;
        case DrawGetDC: {
            const HDC dc = functions.getDC(c.window);
            failed += !dc;
            windowDC.Add(c.dc, dc);
            break;
        }
        case DrawReleaseDC: failed += !functions.releaseDC(c.window, windowDC(c.dc)); break;
        case DrawFunctionCount: break;
        }
    }
    return failed;
}
