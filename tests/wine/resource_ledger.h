// Counts what the loaded plug-in makes and releases. Wine's GetGuiResources
// answers 0, so every GDI and USER call of vis_kt.dll that creates or
// releases an object is redirected through its import table to a counting
// wrapper that forwards to the real function. Releases of handles that are
// not held, deletions of selected objects and drawing on released surfaces
// are recorded as faults.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

enum class Held { Surface, Bitmap, Brush, Window, WindowDC, Menu, WindowClass, Timer, Kinds };

struct ResourceLedger {
    // Per kind: objects made and released since the last ResetCounts.
    int made[static_cast<int>(Held::Kinds)] = {};
    int released[static_cast<int>(Held::Kinds)] = {};
    int fills = 0;               // FillRect
    int copies = 0;              // BitBlt and StretchBlt
    int getDCs = 0;              // GetDC
    int releaseDCs = 0;          // ReleaseDC
    int selects = 0;             // SelectObject
    int clipCalls = 0;           // ClipCursor, with or without a rectangle
    int clipReleases = 0;        // ClipCursor(NULL)
    bool cursorClipped = false;  // the last ClipCursor call had a rectangle
    int messageBoxes = 0;
    std::string lastMessage;
    int createWindowFailures = 0;  // CreateWindowExA calls still to fail
    // Frames, seen from the calls: a frame starts with the restore copy onto
    // the canvas (the surface holding our brush) and ends with ReleaseDC.
    int frameStarts = 0;
    int frameReentries = 0;  // a frame started before the previous one ended
    bool inFrame = false;
    // The thread of the first drawing call, and drawing calls from any other.
    DWORD drawingThread = 0;
    int foreignThreadDrawing = 0;
    std::vector<std::string> faults;

    // Objects alive now; a window destroyed by the system (with its owner)
    // and its timers count as released from then on.
    int HeldNow(Held kind);
    int HeldTotal();
    void ResetCounts();

    struct Key {
        Held kind;
        uintptr_t a, b;
        bool operator<(const Key& o) const { return std::tie(kind, a, b) < std::tie(o.kind, o.a, o.b); }
    };
    std::map<Key, int> live;                      // handle -> serial of its creation
    std::map<uintptr_t, uintptr_t> selectedInto;  // our bitmap or brush -> surface
};

extern ResourceLedger Ledger;

// Loads vis_kt.dll and redirects its imports, once per load of the library.
// Returns the names of the listed functions that the library does not import.
std::vector<std::string> InstallResourceLedger();

// "Surface 2, Window 1, ..." of everything held, for failure messages.
std::string DescribeHeld();
