// The player's service object, which plug-ins of the player's 5.x releases
// ask for inside winampVisGetHeader and use without a check: it gives the
// language service, whose strings, dialogs and menus come from the plug-in's
// own resources.
#pragma once

// The one service object; it lives as long as the process.
void* PlayerServiceObject();
