#include "tests/wine/dialog_driver.h"

HWND WaitForDialog(const char* title, int timeoutMs) {
    // Looked for every millisecond: the soak tests open a dialog a thousand times.
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do {
        HWND dialog = FindWindowA("#32770", title);
        if (dialog && IsWindowVisible(dialog)) return dialog;
        Sleep(1);
    } while (GetTickCount64() < deadline);
    return nullptr;
}

DialogDriver::DialogDriver(const char* title, std::function<void(HWND)> drive)
    : thread_([this, title, drive] {
          HWND dialog = WaitForDialog(title);
          found_ = dialog != nullptr;
          if (dialog) drive(dialog);
      }) {}

DialogDriver::~DialogDriver() { join(); }

void DialogDriver::join() {
    if (thread_.joinable()) thread_.join();
}

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// A key pressed on the dialog's focused control.
void PressKey(HWND dialog, WPARAM key) {
    HWND target = GetDlgItem(dialog, 101);
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
