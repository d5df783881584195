// Automation services shared by the platform families: frame counting,
// captures, the sound trace, scripted keys and the virtual clock.
#pragma once

#include <windows.h>

#include "common/virtual_clock.h"

namespace corvane {

// Frames completed so far (= Presents so far). Frame N is the frame whose
// Present brings the count from N to N + 1.
int CurrentFrame();

// Called by IDirect3DDevice9::Present once per Present.
void NotePresent();

// Picture capture: true when the frame about to be presented was asked for.
bool WantsCapture(int frame);
// Writes DIR/frame-NNNNNN.png; rgba rows top first, w*h*4 bytes.
void SaveCapture(int frame, const unsigned char* rgba, int w, int h);

// Sound trace: one line per DirectSound call, "FRAME NAME METHOD ARGS".
// `object` is the interface pointer the game holds; it is named through
// CorvaneNameSoundObject (unnamed objects are written as their address).
bool SoundTraceEnabled();
void SoundTrace(const void* object, const char* method, const char* args);
// The name the game gave a sound object; nullptr for an unnamed one.
const char* SoundObjectName(const void* object);
// Called each time the game names a sound object.
void SetSoundNamedListener(void (*named)(const void* object));

// For in-process tests: drive a key as if it were the keyboard. A transition
// to down also sets the key's pressed bit, exactly like a real key event.
void SetVirtualKey(int vk, bool down);

}  // namespace corvane
