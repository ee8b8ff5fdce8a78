#include "host/win/box_watch.h"

namespace {

// The watch of this thread while a watched call is under way.
thread_local BoxWatch* Watching = nullptr;

// How often a box is looked for: it only runs inside the box's own loop.
constexpr UINT CheckMs = 200;

std::string WindowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The first static text of a dialog: a message box's message.
BOOL CALLBACK FirstStatic(HWND child, LPARAM found) {
    char name[16] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Static") != 0 || WindowText(child).empty()) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

}  // namespace

void BoxWatch::Start() {
    Watching = this;
    timer_ = SetTimer(nullptr, 0, CheckMs, Check);
}

void BoxWatch::Stop() {
    if (timer_) KillTimer(nullptr, timer_);  // also drops a tick still queued
    timer_ = 0;
    Watching = nullptr;
}

std::string BoxWatch::Describe() const { return "\"" + caption_ + "\": \"" + text_ + "\""; }

BOOL CALLBACK BoxWatch::CloseDialog(HWND window, LPARAM parameter) {
    char name[8] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    auto& watch = *reinterpret_cast<BoxWatch*>(parameter);
    if (!watch.saw_) {
        watch.saw_ = true;
        watch.caption_ = WindowText(window);
        HWND message = nullptr;
        EnumChildWindows(window, FirstStatic, reinterpret_cast<LPARAM>(&message));
        if (message) watch.text_ = WindowText(message);
    }
    // The box's loop runs on this thread: it ends the dialog, whoever made it.
    EndDialog(window, IDCANCEL);
    return TRUE;
}

void CALLBACK BoxWatch::Check(HWND, UINT, UINT_PTR, DWORD) {
    if (Watching) EnumThreadWindows(GetCurrentThreadId(), CloseDialog, reinterpret_cast<LPARAM>(Watching));
}
