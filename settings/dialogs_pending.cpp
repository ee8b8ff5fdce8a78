// Placeholder until the dialogs exist: the menu commands and the module's
// Config entry open nothing yet.
#include "plugin/module_ops.h"
#include "settings/dialogs.h"

void OpenConfigDialog(winampVisModule*, HWND) {}
INT_PTR OpenAboutDialog(winampVisModule*, HWND) { return 0; }
void VIS_CDECL Config(winampVisModule* module) { OpenConfigDialog(module, module->hwndParent); }
