// Drives a modal dialog from a watcher thread while the test's thread sits in
// the dialog's message loop, as a user would: find it, click, press keys.
#pragma once

#include <windows.h>

#include <functional>
#include <thread>

// Waits up to timeoutMs for a top-level dialog with this title.
HWND WaitForDialog(const char* title, int timeoutMs = 5000);

// Runs `drive` with the dialog once it appears; join() waits for it.
class DialogDriver {
public:
    DialogDriver(const char* title, std::function<void(HWND)> drive);
    ~DialogDriver();
    void join();
    bool found() const { return found_; }

private:
    std::thread thread_;
    bool found_ = false;
};

void Click(HWND dialog, int id);
void PressKey(HWND dialog, WPARAM key);
bool Checked(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
