// Method hooks on the COM objects the game creates (Windows build only): the
// device's Present, and the DirectSound calls the sound trace lists. Each
// object kind's method table is patched once, in place, so the game keeps
// the very interface pointers Windows gave it.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Hooks IDirect3D9::CreateDevice, and through it the device's Present.
void HookDirect3D(void* direct3d9);
// Hooks the DirectSound object and every buffer, 3D buffer and listener
// made from it.
void HookDirectSound(void* directSound8);

// Implemented by the automation module, called from the hooks.
void CorvaneBeforePresent(void* device);
void CorvaneAfterPresent(void);
void CorvaneTraceSoundCall(const void* object, const char* method, const char* format, ...);

#ifdef __cplusplus
}
#endif
