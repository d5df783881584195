// The ways the game drives a sound buffer. A slot may be empty (its file could
// not be made into a buffer, or the catalogue is not loaded yet), so each of
// these skips a missing buffer instead of calling through it.
#pragma once

#include <windows.h>
#include <dsound.h>
#include <d3dx9.h>

// Rewind, then play once.
inline void PlaySoundOnce(IDirectSoundBuffer8* sound) {
  if (!sound) return;
  sound->SetCurrentPosition(0);
  sound->Play(0, 0, 0);
}

// Play once without rewinding: a sound still playing carries on.
inline void PlaySoundOnward(IDirectSoundBuffer8* sound) {
  if (sound) sound->Play(0, 0, 0);
}

// Loop; repeating it every frame changes nothing.
inline void PlaySoundLooping(IDirectSoundBuffer8* sound) {
  if (sound) sound->Play(0, 0, DSBPLAY_LOOPING);
}

inline void RewindSound(IDirectSoundBuffer8* sound) {
  if (sound) sound->SetCurrentPosition(0);
}

inline void StopSound(IDirectSoundBuffer8* sound) {
  if (sound) sound->Stop();
}

inline void PlaceSound(IDirectSound3DBuffer* sound, const D3DXVECTOR3& pos) {
  if (sound) sound->SetPosition(pos.x, pos.y, pos.z, DS3D_IMMEDIATE);
}
