// The player's music and effects levels in the Windows build (see
// sound_levels.cpp): applied under the game's own volumes, again whenever a
// comfort key changes them.
#pragma once

namespace corvane {

void StartSoundLevels();

}  // namespace corvane
