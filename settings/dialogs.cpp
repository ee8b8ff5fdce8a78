// The Configure and About dialogs.
#include "settings/dialogs.h"

#include "plugin/plugin_state.h"
#include "settings/dialog_ids.h"
#include "settings/settings_file.h"

namespace {

constexpr char ConfigTitle[] = "Configure Deduzodo";

// The dialog's working copy of DockMode, kept until the user confirms.
uint8_t DialogDockMode = 0;

void EnableDockPlaces(HWND dialog, bool enabled) {
    EnableWindow(GetDlgItem(dialog, IDC_DOCK_TOP), enabled);
    EnableWindow(GetDlgItem(dialog, IDC_DOCK_BOTTOM), enabled);
}

void ShowDockMode(HWND dialog) {
    if (DialogDockMode & DockAttached) {
        CheckDlgButton(dialog, IDC_ATTACH_WINDOW, BST_CHECKED);
        EnableDockPlaces(dialog, true);
    } else {
        EnableDockPlaces(dialog, false);
    }
    CheckDlgButton(dialog, (DialogDockMode & DockAtTop) ? IDC_DOCK_TOP : IDC_DOCK_BOTTOM, BST_CHECKED);
    if (DialogDockMode & DockOnTop) CheckDlgButton(dialog, IDC_ALWAYS_ON_TOP, BST_CHECKED);
}

// The buttons mark themselves; each click changes the matching bit.
void ConfigCommand(HWND dialog, WPARAM command) {
    switch (command) {
    case IDCANCEL:
    case IDC_DIALOG_CANCEL:
        EndDialog(dialog, 0);
        break;
    case IDC_DIALOG_OK:
        EndDialog(dialog, 1);
        break;
    case IDC_ATTACH_WINDOW:
        DialogDockMode ^= DockAttached;
        EnableDockPlaces(dialog, DialogDockMode & DockAttached);
        break;
    case IDC_DOCK_TOP:
        DialogDockMode |= DockAtTop;
        break;
    case IDC_DOCK_BOTTOM:
        DialogDockMode &= ~DockAtTop;
        break;
    case IDC_ALWAYS_ON_TOP:
        DialogDockMode ^= DockOnTop;
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        ShowDockMode(dialog);
        return TRUE;
    }
    if (message == WM_COMMAND) ConfigCommand(dialog, wParam);
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

bool RunConfigDialog(winampVisModule* module, HWND owner, bool moduleRunning, uint8_t& confirmedMode) {
    // One Configure dialog at a time, whichever entry or copy opened it.
    if (HWND open = FindWindowA("#32770", ConfigTitle)) {
        SetForegroundWindow(open);
        return false;
    }
    if (!moduleRunning) ReadSettings(module);
    DialogDockMode = Plugin.DockMode;
    if (DialogBoxParamA(module->hDllInstance, "CONFIG", owner, ConfigDialogProc, 0) != 1) return false;
    confirmedMode = DialogDockMode;
    return true;
}

INT_PTR OpenAboutDialog(winampVisModule* module, HWND owner) {
    return DialogBoxParamA(module->hDllInstance, "ABOUT", owner, AboutDialogProc, 0);
}
