// The Configure and About dialogs.
#include "settings/dialogs.h"

#include "settings/dialog_ids.h"
#include "settings/settings_file.h"

namespace {

constexpr char ConfigTitle[] = "Configure Deduzodo";

// The dialog's working copy of the dock mode: the caller's, handed over as
// the dialog's creation parameter and kept in the dialog's user slot; null
// before the dialog is initialised, and whenever the slot could not be
// written or read.
uint8_t* WorkingMode(HWND dialog) { return reinterpret_cast<uint8_t*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

void EnableDockPlaces(HWND dialog, bool enabled) {
    EnableWindow(GetDlgItem(dialog, IDC_DOCK_TOP), enabled);
    EnableWindow(GetDlgItem(dialog, IDC_DOCK_BOTTOM), enabled);
}

void ShowDockMode(HWND dialog, uint8_t mode) {
    if (mode & DockAttached) {
        CheckDlgButton(dialog, IDC_ATTACH_WINDOW, BST_CHECKED);
        EnableDockPlaces(dialog, true);
    } else {
        EnableDockPlaces(dialog, false);
    }
    CheckDlgButton(dialog, (mode & DockAtTop) ? IDC_DOCK_TOP : IDC_DOCK_BOTTOM, BST_CHECKED);
    if (mode & DockOnTop) CheckDlgButton(dialog, IDC_ALWAYS_ON_TOP, BST_CHECKED);
}

// The buttons mark themselves; each click changes the matching bit.
void ConfigCommand(HWND dialog, WPARAM command, uint8_t& mode) {
    switch (command) {
    case IDC_ATTACH_WINDOW:
        mode ^= DockAttached;
        EnableDockPlaces(dialog, mode & DockAttached);
        break;
    case IDC_DOCK_TOP: mode |= DockAtTop; break;
    case IDC_DOCK_BOTTOM: mode &= ~DockAtTop; break;
    case IDC_ALWAYS_ON_TOP: mode ^= DockOnTop; break;
    default: break;
    }
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        ShowDockMode(dialog, *reinterpret_cast<const uint8_t*>(lParam));
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    uint8_t* mode = WorkingMode(dialog);
    // The dialog ends whatever the slot holds; without the working copy the
    // clicks went unkept, so Ok changes nothing, as Cancel.
    if (wParam == IDC_DIALOG_OK) {
        EndDialog(dialog, mode ? 1 : 0);
    } else if (wParam == IDCANCEL || wParam == IDC_DIALOG_CANCEL) {
        EndDialog(dialog, 0);
    } else if (mode) {
        ConfigCommand(dialog, wParam, *mode);
    }
    return FALSE;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND) {
        if (wParam == IDCANCEL) EndDialog(dialog, 0);
        if (wParam == IDC_DIALOG_OK) EndDialog(dialog, 1);
    }
    return FALSE;
}

}  // namespace

bool BringOpenConfigDialogForward() {
    HWND open = FindWindowA("#32770", ConfigTitle);
    if (open) SetForegroundWindow(open);
    return open != nullptr;
}

bool RunConfigDialog(const winampVisModule* module, HWND owner, uint8_t& mode) {
    uint8_t working = mode;
    if (DialogBoxParamA(module->hDllInstance, "CONFIG", owner, ConfigDialogProc, reinterpret_cast<LPARAM>(&working)) !=
        1) {
        return false;
    }
    mode = working;
    return true;
}

INT_PTR OpenAboutDialog(const winampVisModule* module, HWND owner) {
    return DialogBoxParamA(module->hDllInstance, "ABOUT", owner, AboutDialogProc, 0);
}
