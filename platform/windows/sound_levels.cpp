// The player's music and effects levels in the Windows build: the game's own
// SetVolume value, lowered by the player's level, is what the buffer really
// gets. The game's calls and the sound trace keep the game's values.
#include <windows.h>
#include <dsound.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "common/player_settings.h"
#include "internal/automation.h"
#include "windows/com_method_hooks.h"
#include "windows/sound_levels.h"

namespace corvane {
namespace {

// Each secondary buffer the game named or set a volume on: its game volume.
std::unordered_map<void*, LONG> gameVolumes;

// Volume is in hundredths of a decibel: a gain g adds 2000 log10 g.
LONG WithPlayerLevel(const void* buffer, LONG volume) {
  float gain = PlayerSoundGain(buffer);
  if (gain <= 0.0f) return DSBVOLUME_MIN;
  LONG lowered = volume + (LONG)std::lround(2000.0 * std::log10(gain));
  return std::clamp<LONG>(lowered, DSBVOLUME_MIN, DSBVOLUME_MAX);
}

void ApplyAgain() {
  for (const auto& [buffer, volume] : gameVolumes) SetVolumeUntraced(buffer, WithPlayerLevel(buffer, volume));
}

// A buffer is music or an effect by the name the game gives it; until the
// game sets a volume it plays at the full DSBVOLUME_MAX.
void OnNamed(const void* object) {
  if (!IsSecondaryBuffer(object)) return;
  void* buffer = const_cast<void*>(object);
  auto known = gameVolumes.emplace(buffer, DSBVOLUME_MAX).first;
  SetVolumeUntraced(buffer, WithPlayerLevel(buffer, known->second));
}

}  // namespace

void StartSoundLevels() {
  SetSoundLevelListener(ApplyAgain);
  SetSoundNamedListener(OnNamed);
}

}  // namespace corvane

extern "C" LONG CorvaneBufferVolume(void* buffer, LONG volume) {
  corvane::gameVolumes[buffer] = volume;
  return corvane::WithPlayerLevel(buffer, volume);
}

extern "C" void CorvaneForgetBuffer(void* buffer) { corvane::gameVolumes.erase(buffer); }
