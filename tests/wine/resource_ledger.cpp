#include "tests/wine/resource_ledger.h"

#include <algorithm>
#include <cctype>
#include <functional>

#include "host/win/import_table.h"
#include "tests/wine/plugin_library.h"

ResourceLedger Ledger;

namespace {

using Key = ResourceLedger::Key;

uintptr_t Raw(const void* handle) { return reinterpret_cast<uintptr_t>(handle); }
int Index(Held kind) { return static_cast<int>(kind); }

const char* KindName(Held kind) {
    static const char* const names[] = {"surface", "bitmap", "brush", "window", "window DC", "menu", "class", "timer"};
    return names[Index(kind)];
}

void Fault(const std::string& text) { Ledger.faults.push_back(text); }

void Made(Held kind, uintptr_t a, uintptr_t b = 0) {
    if (!a) return;
    ++Ledger.made[Index(kind)];
    Ledger.live[{kind, a, b}] = Ledger.made[Index(kind)];
}

bool IsHeld(Held kind, uintptr_t a, uintptr_t b = 0) { return Ledger.live.count({kind, a, b}) != 0; }

// Records the release of a held object, or a fault when it is not held.
void Released(Held kind, uintptr_t a, uintptr_t b, const char* call) {
    if (Ledger.live.erase({kind, a, b}) == 0) {
        Fault(std::string(call) + " of a " + KindName(kind) + " not held");
        return;
    }
    ++Ledger.released[Index(kind)];
}

// A window class is held under its instance and lower-case name (or atom).
uintptr_t ClassKey(LPCSTR name) {
    if (IS_INTRESOURCE(name)) return Raw(name);
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return std::hash<std::string>{}(lower);
}

void PruneDeadWindows() {
    for (auto it = Ledger.live.begin(); it != Ledger.live.end();) {
        const bool windowBound = it->first.kind == Held::Window || it->first.kind == Held::Timer;
        if (windowBound && !IsWindow(reinterpret_cast<HWND>(it->first.a))) {
            ++Ledger.released[Index(it->first.kind)];
            it = Ledger.live.erase(it);
        } else {
            ++it;
        }
    }
}

// The real functions, as the import table held them.
decltype(&CreateCompatibleDC) RealCreateCompatibleDC;
decltype(&DeleteDC) RealDeleteDC;
decltype(&CreateCompatibleBitmap) RealCreateCompatibleBitmap;
decltype(&LoadBitmapA) RealLoadBitmapA;
decltype(&CreateSolidBrush) RealCreateSolidBrush;
decltype(&DeleteObject) RealDeleteObject;
decltype(&SelectObject) RealSelectObject;
decltype(&GetDC) RealGetDC;
decltype(&ReleaseDC) RealReleaseDC;
decltype(&CreateWindowExA) RealCreateWindowExA;
decltype(&DestroyWindow) RealDestroyWindow;
decltype(&CreatePopupMenu) RealCreatePopupMenu;
decltype(&DestroyMenu) RealDestroyMenu;
decltype(&RegisterClassA) RealRegisterClassA;
decltype(&UnregisterClassA) RealUnregisterClassA;
decltype(&SetTimer) RealSetTimer;
decltype(&KillTimer) RealKillTimer;
decltype(&ClipCursor) RealClipCursor;
decltype(&FillRect) RealFillRect;
decltype(&BitBlt) RealBitBlt;
decltype(&StretchBlt) RealStretchBlt;
decltype(&MessageBoxA) RealMessageBoxA;

HDC WINAPI CountCreateCompatibleDC(HDC reference) {
    HDC surface = RealCreateCompatibleDC(reference);
    Made(Held::Surface, Raw(surface));
    return surface;
}

BOOL WINAPI CountDeleteDC(HDC surface) {
    for (auto it = Ledger.selectedInto.begin(); it != Ledger.selectedInto.end();) {
        if (it->second == Raw(surface)) {
            Fault("surface deleted with one of our objects still selected");
            it = Ledger.selectedInto.erase(it);
        } else {
            ++it;
        }
    }
    Released(Held::Surface, Raw(surface), 0, "DeleteDC");
    return RealDeleteDC(surface);
}

HBITMAP WINAPI CountCreateCompatibleBitmap(HDC surface, int width, int height) {
    HBITMAP bitmap = RealCreateCompatibleBitmap(surface, width, height);
    Made(Held::Bitmap, Raw(bitmap));
    return bitmap;
}

HBITMAP WINAPI CountLoadBitmapA(HINSTANCE instance, LPCSTR name) {
    HBITMAP bitmap = RealLoadBitmapA(instance, name);
    Made(Held::Bitmap, Raw(bitmap));
    return bitmap;
}

HBRUSH WINAPI CountCreateSolidBrush(COLORREF colour) {
    HBRUSH brush = RealCreateSolidBrush(colour);
    Made(Held::Brush, Raw(brush));
    return brush;
}

BOOL WINAPI CountDeleteObject(HGDIOBJ object) {
    const uintptr_t raw = Raw(object);
    if (Ledger.selectedInto.count(raw)) Fault("object deleted while selected into a surface");
    if (IsHeld(Held::Bitmap, raw)) {
        Released(Held::Bitmap, raw, 0, "DeleteObject");
    } else if (IsHeld(Held::Brush, raw)) {
        Released(Held::Brush, raw, 0, "DeleteObject");
    } else {
        Fault("DeleteObject of an object not held");
    }
    return RealDeleteObject(object);
}

bool IsOurs(uintptr_t object) { return IsHeld(Held::Bitmap, object) || IsHeld(Held::Brush, object); }

HGDIOBJ WINAPI CountSelectObject(HDC surface, HGDIOBJ object) {
    ++Ledger.selects;
    if (!IsHeld(Held::Surface, Raw(surface))) Fault("SelectObject on a surface not held");
    HGDIOBJ previous = RealSelectObject(surface, object);
    if (previous) {
        Ledger.selectedInto.erase(Raw(previous));
        if (IsOurs(Raw(object))) Ledger.selectedInto[Raw(object)] = Raw(surface);
    }
    return previous;
}

HDC WINAPI CountGetDC(HWND window) {
    ++Ledger.getDCs;
    HDC surface = RealGetDC(window);
    Made(Held::WindowDC, Raw(surface));
    return surface;
}

int WINAPI CountReleaseDC(HWND window, HDC surface) {
    ++Ledger.releaseDCs;
    Ledger.inFrame = false;
    Released(Held::WindowDC, Raw(surface), 0, "ReleaseDC");
    return RealReleaseDC(window, surface);
}

HWND WINAPI CountCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                                 int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
    if (Ledger.createWindowFailures > 0) {
        --Ledger.createWindowFailures;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    HWND window =
        RealCreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu, instance, parameter);
    Made(Held::Window, Raw(window));
    return window;
}

BOOL WINAPI CountDestroyWindow(HWND window) {
    PruneDeadWindows();
    Released(Held::Window, Raw(window), 0, "DestroyWindow");
    const BOOL result = RealDestroyWindow(window);
    PruneDeadWindows();  // its timers went with it
    return result;
}

HMENU WINAPI CountCreatePopupMenu() {
    HMENU menu = RealCreatePopupMenu();
    Made(Held::Menu, Raw(menu));
    return menu;
}

BOOL WINAPI CountDestroyMenu(HMENU menu) {
    Released(Held::Menu, Raw(menu), 0, "DestroyMenu");
    return RealDestroyMenu(menu);
}

ATOM WINAPI CountRegisterClassA(const WNDCLASSA* windowClass) {
    const ATOM atom = RealRegisterClassA(windowClass);
    if (atom) Made(Held::WindowClass, Raw(windowClass->hInstance), ClassKey(windowClass->lpszClassName));
    return atom;
}

BOOL WINAPI CountUnregisterClassA(LPCSTR name, HINSTANCE instance) {
    Released(Held::WindowClass, Raw(instance), ClassKey(name), "UnregisterClassA");
    return RealUnregisterClassA(name, instance);
}

UINT_PTR WINAPI CountSetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC callback) {
    const UINT_PTR result = RealSetTimer(window, id, period, callback);
    // Setting a running timer again only changes its period.
    if (result && !IsHeld(Held::Timer, Raw(window), id)) Made(Held::Timer, Raw(window), id);
    return result;
}

BOOL WINAPI CountKillTimer(HWND window, UINT_PTR id) {
    PruneDeadWindows();
    Released(Held::Timer, Raw(window), id, "KillTimer");
    return RealKillTimer(window, id);
}

BOOL WINAPI CountClipCursor(const RECT* confine) {
    ++Ledger.clipCalls;
    if (!confine) ++Ledger.clipReleases;
    Ledger.cursorClipped = confine != nullptr;
    return RealClipCursor(confine);
}

void NoteDrawingThread() {
    const DWORD thread = GetCurrentThreadId();
    if (!Ledger.drawingThread) Ledger.drawingThread = thread;
    if (thread != Ledger.drawingThread) ++Ledger.foreignThreadDrawing;
}

bool HoldsOurBrush(HDC surface) {
    for (const auto& [object, into] : Ledger.selectedInto) {
        if (into == Raw(surface) && IsHeld(Held::Brush, object)) return true;
    }
    return false;
}

int WINAPI CountFillRect(HDC surface, const RECT* rect, HBRUSH brush) {
    ++Ledger.fills;
    NoteDrawingThread();
    if (!IsHeld(Held::Surface, Raw(surface))) Fault("FillRect on a surface not held");
    if (!IsHeld(Held::Brush, Raw(brush))) Fault("FillRect with a brush not held");
    // It would paint nothing: a call for no pixel.
    if (rect->right <= rect->left || rect->bottom <= rect->top) Fault("FillRect of a rectangle that paints nothing");
    return RealFillRect(surface, rect, brush);
}

void CheckCopySource(HDC source) {
    ++Ledger.copies;
    if (!IsHeld(Held::Surface, Raw(source))) Fault("copy from a surface not held");
}

BOOL WINAPI CountBitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                        DWORD operation) {
    CheckCopySource(source);
    NoteDrawingThread();
    if (IsHeld(Held::Surface, Raw(target)) && HoldsOurBrush(target)) {
        if (Ledger.inFrame) ++Ledger.frameReentries;
        Ledger.inFrame = true;
        ++Ledger.frameStarts;
    }
    return RealBitBlt(target, x, y, width, height, source, sourceX, sourceY, operation);
}

BOOL WINAPI CountStretchBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                            int sourceWidth, int sourceHeight, DWORD operation) {
    CheckCopySource(source);
    return RealStretchBlt(target, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, operation);
}

// A modal box would hold the test; it is counted and answered at once.
int WINAPI CountMessageBoxA(HWND, LPCSTR text, LPCSTR, UINT) {
    ++Ledger.messageBoxes;
    Ledger.lastMessage = text ? text : "";
    return IDOK;
}

template <typename Function>
void Redirect(HMODULE module, const char* dll, const char* name, Function& real, Function counting,
              std::vector<std::string>& missing) {
    void* previous = PatchImport(module, dll, name, reinterpret_cast<void*>(counting));
    if (!previous) {
        missing.push_back(name);
    } else if (previous != reinterpret_cast<void*>(counting)) {
        // A slot redirected before, in this load of the library, keeps the
        // real function found then.
        real = reinterpret_cast<Function>(previous);
    }
}

}  // namespace

int ResourceLedger::HeldNow(Held kind) {
    PruneDeadWindows();
    int count = 0;
    for (const auto& entry : live) count += entry.first.kind == kind;
    return count;
}

int ResourceLedger::HeldTotal() {
    PruneDeadWindows();
    return static_cast<int>(live.size());
}

void ResourceLedger::ResetCounts() {
    PruneDeadWindows();
    std::fill(std::begin(made), std::end(made), 0);
    std::fill(std::begin(released), std::end(released), 0);
    fills = copies = getDCs = releaseDCs = selects = clipCalls = clipReleases = messageBoxes = 0;
    createWindowFailures = 0;
    frameStarts = frameReentries = foreignThreadDrawing = 0;
    inFrame = false;
    drawingThread = 0;
    lastMessage.clear();
    faults.clear();
}

std::string DescribeHeld() {
    std::string text;
    for (int kind = 0; kind < Index(Held::Kinds); ++kind) {
        const int count = Ledger.HeldNow(static_cast<Held>(kind));
        if (count)
            text +=
                std::string(text.empty() ? "" : ", ") + KindName(static_cast<Held>(kind)) + " " + std::to_string(count);
    }
    return text.empty() ? "nothing" : text;
}

std::vector<std::string> InstallResourceLedger() {
    std::vector<std::string> missing;
    HMODULE module = LoadPluginLibrary().module;
    const char* gdi = "gdi32.dll";
    const char* user = "user32.dll";
    Redirect(module, gdi, "CreateCompatibleDC", RealCreateCompatibleDC, CountCreateCompatibleDC, missing);
    Redirect(module, gdi, "DeleteDC", RealDeleteDC, CountDeleteDC, missing);
    Redirect(module, gdi, "CreateCompatibleBitmap", RealCreateCompatibleBitmap, CountCreateCompatibleBitmap, missing);
    Redirect(module, user, "LoadBitmapA", RealLoadBitmapA, CountLoadBitmapA, missing);
    Redirect(module, gdi, "CreateSolidBrush", RealCreateSolidBrush, CountCreateSolidBrush, missing);
    Redirect(module, gdi, "DeleteObject", RealDeleteObject, CountDeleteObject, missing);
    Redirect(module, gdi, "SelectObject", RealSelectObject, CountSelectObject, missing);
    Redirect(module, user, "GetDC", RealGetDC, CountGetDC, missing);
    Redirect(module, user, "ReleaseDC", RealReleaseDC, CountReleaseDC, missing);
    Redirect(module, user, "CreateWindowExA", RealCreateWindowExA, CountCreateWindowExA, missing);
    Redirect(module, user, "DestroyWindow", RealDestroyWindow, CountDestroyWindow, missing);
    Redirect(module, user, "CreatePopupMenu", RealCreatePopupMenu, CountCreatePopupMenu, missing);
    Redirect(module, user, "DestroyMenu", RealDestroyMenu, CountDestroyMenu, missing);
    Redirect(module, user, "RegisterClassA", RealRegisterClassA, CountRegisterClassA, missing);
    Redirect(module, user, "UnregisterClassA", RealUnregisterClassA, CountUnregisterClassA, missing);
    Redirect(module, user, "SetTimer", RealSetTimer, CountSetTimer, missing);
    Redirect(module, user, "KillTimer", RealKillTimer, CountKillTimer, missing);
    Redirect(module, user, "ClipCursor", RealClipCursor, CountClipCursor, missing);
    Redirect(module, user, "FillRect", RealFillRect, CountFillRect, missing);
    Redirect(module, gdi, "BitBlt", RealBitBlt, CountBitBlt, missing);
    Redirect(module, gdi, "StretchBlt", RealStretchBlt, CountStretchBlt, missing);
    Redirect(module, user, "MessageBoxA", RealMessageBoxA, CountMessageBoxA, missing);
    return missing;
}
