// Chooses how Wine draws DirectDraw for a plug-in, before the plug-in loads.
// On Wine's OpenGL renderer the window a plug-in hands DirectDraw becomes an
// OpenGL surface, and what the plug-in then draws into that window with GDI
// (AVS blits its system-memory surfaces so) reaches neither the screen nor a
// read-back. A plug-in that imports DirectDraw and no 3D interface gets
// Wine's GDI renderer; one that draws in 3D keeps OpenGL. Nothing changes
// where WINE_D3D_CONFIG is set already, and outside Wine the setting means
// nothing.
#pragma once

#include <string>

void ChooseDirectDrawRenderer(const std::string& pluginPath);
