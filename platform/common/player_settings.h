// The settings of this run: the player's file, with the command line's
// overrides for this run only, the sound levels the comfort keys change,
// and writing the file back when one of them changes.
#pragma once

#include <string>

#include "common/settings_file.h"

namespace corvane {

struct CommandLine;

// Reads the file (a damaged one is reported, kept and the defaults used),
// makes it with the defaults on a player's first run, and applies the
// options. Runs under automation (--headless, --script) read it but never
// write it.
void StartPlayerSettings(const CommandLine& options);

const Settings& RunSettings();

// The master gain for a sound object: music (the looping tracks) or
// effects, at the player's level, 0 while muted.
float PlayerSoundGain(const void* soundObject);

// Called whenever the levels change (the sound layer reapplies its gains).
void SetSoundLevelListener(void (*changed)());

// A comfort key (KEY_MUTE ... KEY_EFFECTS_UP): changes the levels, writes
// the file, and returns the note to show.
std::string ApplyComfort(int key);

// The player switched fullscreen: kept for the next start.
void NoteFullscreen(bool fullscreen);

// For tests: use these settings and no file.
void UseSettingsForTest(const Settings& settings);

}  // namespace corvane
