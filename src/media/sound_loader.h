// Sound buffers: each WAV file becomes one DirectSound secondary buffer,
// filled once at start-up (media/sound_play.h plays them).
#pragma once

#include <windows.h>
#include <dsound.h>

// Buffer flags of the two loaders.
constexpr DWORD SOUND_BUFFER_FLAGS = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME |
                                     DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;
constexpr DWORD SOUND_BUFFER_3D_FLAGS = DSBCAPS_CTRL3D | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLVOLUME |
                                        DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;

// Loads the whole file into a new buffer in *slot, made from Audio.directSound.
// A missing or unreadable file leaves a short silent buffer in the slot (and
// its name on stderr), so every playback idiom can still be called on it.
void LoadSound(IDirectSoundBuffer8** slot, const char* fileName);
// The same with 3D control (mono files); the caller queries IID_IDirectSound3DBuffer.
void LoadSound3D(IDirectSoundBuffer8** slot, const char* fileName);
