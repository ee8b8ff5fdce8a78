// Control ids of the Configure and About dialogs, shared by the resource
// script and the dialog procedures.
#pragma once

#define IDC_DIALOG_OK 101
#define IDC_DIALOG_CANCEL 102
#define IDC_ATTACH_WINDOW 110
#define IDC_DOCK_TOP 111
#define IDC_DOCK_BOTTOM 112
#define IDC_ALWAYS_ON_TOP 115
