// Method hooks on the COM objects the game creates (Windows build only): the
// device's Present, and the DirectSound calls the sound trace lists (and
// SetVolume, under which the player's sound levels go). Each
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

// Whether an object is a secondary sound buffer made through the hooks.
BOOL IsSecondaryBuffer(const void* object);
// Sets a hooked buffer's volume past the hooks: not traced, not changed.
HRESULT SetVolumeUntraced(void* buffer, LONG volume);

// Implemented by the automation module, called from the hooks.
void CorvaneBeforePresent(void* device);
void CorvaneDrawNote(void* device);
void CorvaneAfterPresent(void);
void CorvaneTraceSoundCall(const void* object, const char* method, const char* format, ...);
// The volume a secondary buffer really gets for the game's `volume` (the
// player's level under it), kept to be applied again when levels change.
LONG CorvaneBufferVolume(void* buffer, LONG volume);
// A buffer's last reference is gone.
void CorvaneForgetBuffer(void* buffer);

#ifdef __cplusplus
}
#endif
