// The three ways gameplay drives a sound buffer. A slot may be empty when its
// file could not be loaded (or before the catalogue is loaded), so every cue
// skips a missing buffer instead of calling through it.
#pragma once

#include <windows.h>
#include <dsound.h>
#include <d3dx9.h>

#include "app/asset_catalogue.h"

// One-shot restart: rewind, then play once.
inline void RestartSound(IDirectSoundBuffer8* buffer) {
  if (!buffer) return;
  buffer->SetCurrentPosition(0);
  buffer->Play(0, 0, 0);
}

// Play once without rewinding: a sound still playing carries on.
inline void PlaySoundAsIs(IDirectSoundBuffer8* buffer) {
  if (buffer) buffer->Play(0, 0, 0);
}

inline void LoopSound(IDirectSoundBuffer8* buffer) {
  if (buffer) buffer->Play(0, 0, DSBPLAY_LOOPING);
}

inline void RewindSound(IDirectSoundBuffer8* buffer) {
  if (buffer) buffer->SetCurrentPosition(0);
}

inline void StopSound(IDirectSoundBuffer8* buffer) {
  if (buffer) buffer->Stop();
}

inline void StopAllSounds() {
  for (int i = 0; i < SOUND_SLOT_COUNT; ++i) StopSound(sounds[i]);
}

inline void PlacePassSound(const D3DXVECTOR3& pos) {
  if (passSound3D) passSound3D->SetPosition(pos.x, pos.y, pos.z, DS3D_IMMEDIATE);
}
