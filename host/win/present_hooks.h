// The present hooks, a file per way of presenting; each adds its table of
// import hooks (import_hooks.h) and hands each present to the capture
// (present_hub.h).
#pragma once

void AddGdiPresentHooks();
void AddDirectDrawPresentHooks();
void AddDirect3D9PresentHooks();
void AddOpenGLPresentHooks();
