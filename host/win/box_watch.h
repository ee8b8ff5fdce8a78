// Ends a message box or modal dialog that a plug-in opens when no one can
// answer it (capture mode), so that a run never waits on it: while a watched
// call is under way, a thread timer looks for a dialog of this thread and
// closes it, keeping its caption and text for the report.
#pragma once

#include <windows.h>

#include <string>

class BoxWatch {
public:
    // Watches what the calls between Start and Stop open on this thread.
    void Start();
    void Stop();
    bool SawBox() const { return saw_; }
    // "\"CAPTION\": \"TEXT\"" of the first box closed.
    std::string Describe() const;

private:
    static void CALLBACK Check(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK CloseDialog(HWND window, LPARAM watch);
    bool saw_ = false;
    std::string caption_, text_;
    UINT_PTR timer_ = 0;
};
