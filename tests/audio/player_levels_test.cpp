// The player's music and effects levels, measured on the loopback mix: a
// master gain over the game's own volumes, music being the looping tracks.
#include <gtest/gtest.h>

#include <dsound.h>

#include <cmath>
#include <vector>

#include "audio/sound_buffers.h"
#include "common/player_settings.h"
#include "corvane_automation.h"
#include "dsound/audio_device.h"
#include "win32/focus_pause.h"

namespace {

constexpr int16_t LEVEL = 10000;

IDirectSoundBuffer8* ConstantBuffer(IDirectSound8* ds) {
  return MakeSoundBuffer(ds, std::vector<int16_t>(4410, LEVEL), DSBCAPS_CTRLVOLUME);
}

// The loudest left-channel sample in sample units, once a gain change has
// faded in (OpenAL ramps it over the first mix).
float Peak() {
  std::vector<float> mix(4410 * 2);
  EXPECT_TRUE(corvane::audio::RenderLoopback(mix.data(), 4410));
  EXPECT_TRUE(corvane::audio::RenderLoopback(mix.data(), 4410));
  float peak = 0.0f;
  for (size_t i = 0; i < mix.size(); i += 2) peak = std::max(peak, std::fabs(mix[i]) * 32768.0f);
  return peak;
}

TEST(PlayerLevels, MusicAndEffectsScaleTheGamesOwnVolume) {
  corvane::audio::UseLoopbackDevice(true, 44100);
  IDirectSound8* ds = nullptr;
  ASSERT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DS_OK);
  IDirectSoundBuffer8* music = ConstantBuffer(ds);
  IDirectSoundBuffer8* effect = ConstantBuffer(ds);
  CorvaneNameSoundObject(music, "SND_LOOP_56");
  CorvaneNameSoundObject(effect, "SND_GRAZE");
  music->SetVolume(-600);  // the game's own level: half the amplitude
  music->Play(0, 0, DSBPLAY_LOOPING);
  effect->Play(0, 0, DSBPLAY_LOOPING);
  const float half = LEVEL * std::pow(10.0f, -600.0f / 2000.0f);

  corvane::Settings levels;
  EXPECT_NEAR(Peak(), LEVEL + half, 2.0f);
  levels.musicVolume = levels.effectsVolume = 0;
  corvane::UseSettingsForTest(levels);
  EXPECT_EQ(Peak(), 0.0f);
  levels.musicVolume = 50;
  corvane::UseSettingsForTest(levels);
  EXPECT_NEAR(Peak(), half * 0.5f, 2.0f);
  levels.musicVolume = 0;
  levels.effectsVolume = 100;
  corvane::UseSettingsForTest(levels);
  EXPECT_NEAR(Peak(), LEVEL, 2.0f);
  corvane::UseSettingsForTest(corvane::Settings{});

  music->Release();
  effect->Release();
  ds->Release();
  corvane::audio::UseLoopbackDevice(false);
}

TEST(PlayerLevels, LosingFocusPausesSoundWhereItIs) {
  corvane::audio::UseLoopbackDevice(true, 44100);
  IDirectSound8* ds = nullptr;
  ASSERT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DS_OK);
  IDirectSoundBuffer8* ramp = MakeSoundBuffer(ds, RampSamples(4410), DSBCAPS_CTRLVOLUME);
  ramp->Play(0, 0, 0);
  std::vector<float> mix(1000 * 2);
  ASSERT_TRUE(corvane::audio::RenderLoopback(mix.data(), 1000));
  corvane::NoteFocus(false);
  EXPECT_EQ(Peak(), 0.0f);
  corvane::NoteFocus(true);
  ASSERT_TRUE(corvane::audio::RenderLoopback(mix.data(), 100));
  // It goes on from the sample after the last one heard (the ramp's value is its index).
  EXPECT_NEAR(mix[2 * 50] * 32768.0f, 1050.0f, 1.5f);
  ramp->Release();
  ds->Release();
  corvane::audio::UseLoopbackDevice(false);
}

}  // namespace
