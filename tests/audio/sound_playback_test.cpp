// DirectSound playback measured on OpenAL Soft's loopback mix (stereo float,
// 44100 Hz). Test sounds are 16-bit mono ramps (sample i has the value i, so
// the output tells the play position) or constant levels.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "audio/riff_builder.h"
#include "audio/sound_buffers.h"
#include "dsound/audio_device.h"
#include "media/sound_loader.h"
#include "media/sound_play.h"

namespace {

constexpr float kScale = 32768.0f;

class Loopback : public ::testing::Test {
 protected:
  void SetUp() override {
    corvane::audio::UseLoopbackDevice(true, 44100);
    ASSERT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DS_OK);
    ASSERT_EQ(ds->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D | DSBCAPS_CTRLVOLUME;
    ASSERT_EQ(ds->CreateSoundBuffer(&desc, &primary, nullptr), DS_OK);
    ASSERT_EQ(primary->QueryInterface(IID_IDirectSound3DListener, reinterpret_cast<void**>(&listener)), S_OK);
    listener->SetDistanceFactor(5.0f, DS3D_IMMEDIATE);
    listener->SetRolloffFactor(1.0f, DS3D_IMMEDIATE);
  }
  void TearDown() override {
    for (IUnknown* o : owned) o->Release();
    if (listener) listener->Release();
    if (primary) primary->Release();
    if (ds) ds->Release();
    corvane::audio::UseLoopbackDevice(false);
  }

  IDirectSoundBuffer8* MakeBuffer(const std::vector<int16_t>& samples, DWORD flags = SOUND_BUFFER_FLAGS) {
    IDirectSoundBuffer8* buffer = MakeSoundBuffer(ds, samples, flags);
    if (buffer) owned.push_back(buffer);
    return buffer;
  }

  // A buffer of `frames` silent frames, not yet written.
  IDirectSoundBuffer* NewBuffer(WORD channels, WORD bits, DWORD flags, DWORD frames) {
    const WORD align = static_cast<WORD>(channels * bits / 8);
    WAVEFORMATEX format = {WAVE_FORMAT_PCM, channels, 44100, 44100u * align, align, bits, 0};
    DSBUFFERDESC desc = {sizeof desc, flags, frames * align, 0, &format, {}};
    IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
    if (buffer) owned.push_back(buffer);
    return buffer;
  }

  // Renders `frames` and returns the left channel in sample units.
  std::vector<float> Render(int frames, std::vector<float>* right = nullptr) {
    std::vector<float> mix(static_cast<size_t>(frames) * 2);
    EXPECT_TRUE(corvane::audio::RenderLoopback(mix.data(), frames));
    std::vector<float> left(frames);
    if (right) right->resize(frames);
    for (int i = 0; i < frames; ++i) {
      left[i] = mix[2 * i] * kScale;
      if (right) (*right)[i] = mix[2 * i + 1] * kScale;
    }
    return left;
  }

  IDirectSound8* ds = nullptr;
  IDirectSoundBuffer* primary = nullptr;
  IDirectSound3DListener* listener = nullptr;
  std::vector<IUnknown*> owned;
};

TEST_F(Loopback, OneShotRestartsFromTheStartAndPlayAloneCarriesOn) {
  IDirectSoundBuffer8* b = MakeBuffer(RampSamples(20000));
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  std::vector<float> first = Render(1000);
  EXPECT_NEAR(first[0], 0.0f, 1.0f);
  EXPECT_NEAR(first[999], 999.0f, 1.0f);

  PlaySoundOnce(b);  // mid-play: back to the first sample
  EXPECT_NEAR(Render(256)[255], 255.0f, 1.0f);

  PlaySoundOnward(b);  // a second Play on a playing buffer does not restart it
  EXPECT_NEAR(Render(8)[0], 256.0f, 1.0f);

  // An empty slot (a file that made no buffer) is skipped by every idiom.
  for (auto play : {PlaySoundOnce, PlaySoundOnward, PlaySoundLooping, RewindSound, StopSound}) play(nullptr);
  PlaceSound(nullptr, D3DXVECTOR3(1.0f, 2.0f, 3.0f));
  EXPECT_NEAR(Render(8)[0], 264.0f, 1.0f);
}

TEST_F(Loopback, LoopingOutlastsTheBufferAndAFinishedOneShotRewinds) {
  std::vector<int16_t> level(4410, 8000);
  IDirectSoundBuffer8* looped = MakeBuffer(level);
  PlaySoundLooping(looped);
  PlaySoundLooping(looped);  // repeated every frame by the menus: changes nothing
  std::vector<float> out = Render(4410 * 3);
  EXPECT_NEAR(out[4410 * 3 - 1], 8000.0f, 1.0f);
  looped->Stop();

  IDirectSoundBuffer8* once = MakeBuffer(RampSamples(4410));
  once->Play(0, 0, 0);
  out = Render(5000);
  EXPECT_NEAR(out[4409], 4409.0f, 1.0f);
  EXPECT_EQ(out[4999], 0.0f);  // ended by itself
  once->Play(0, 0, 0);        // after a natural end it plays from the start
  EXPECT_NEAR(Render(256)[255], 255.0f, 1.0f);
}

TEST_F(Loopback, StopKeepsTheCursorSoPlayResumes) {
  IDirectSoundBuffer8* b = MakeBuffer(RampSamples(20000));
  b->Play(0, 0, 0);
  Render(1000);
  ASSERT_EQ(b->Stop(), DS_OK);
  std::vector<float> silent = Render(500);
  EXPECT_EQ(silent[0], 0.0f);
  EXPECT_EQ(silent[499], 0.0f);
  b->Play(0, 0, 0);
  EXPECT_NEAR(Render(4)[0], 1000.0f, 1.0f);

  // A position set while stopped is where the next Play starts.
  IDirectSoundBuffer8* fresh = MakeBuffer(RampSamples(20000));
  b->Stop();
  ASSERT_EQ(fresh->SetCurrentPosition(600), DS_OK);  // bytes: sample 300
  fresh->Play(0, 0, 0);
  EXPECT_NEAR(Render(1024)[1023], 1323.0f, 10.0f);  // OpenAL fades a moved start in over a few ms
}

TEST_F(Loopback, VolumeIsInHundredthsOfADecibel) {
  IDirectSoundBuffer8* b = MakeBuffer(std::vector<int16_t>(4410, 16000));
  PlaySoundLooping(b);
  float full = Render(1024)[1023];
  ASSERT_NEAR(full, 16000.0f, 1.0f);
  ASSERT_EQ(b->SetVolume(-500), DS_OK);
  float reduced = Render(4096)[4095];
  EXPECT_NEAR(reduced / full, 0.5623f, 0.002f);  // 10^(-500/2000)
  EXPECT_EQ(b->SetVolume(1), DSERR_INVALIDPARAM);
}

TEST_F(Loopback, TwoSlotsFromOneFileHaveTheirOwnCursorAndVolume) {
  std::string path = riff::WriteFile(
      "ramp.wav", riff::Riff({riff::PcmFormat(1, 44100, 16), riff::Chunk("data", riff::Samples16(RampSamples(20000)))}));
  Audio.directSound = ds;
  IDirectSoundBuffer8* a = nullptr;
  IDirectSoundBuffer8* b = nullptr;
  LoadSound(&a, path.c_str());
  LoadSound(&b, path.c_str());
  Audio.directSound = nullptr;
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(a, b);
  owned.push_back(a);
  owned.push_back(b);

  a->Play(0, 0, 0);
  Render(1000);
  b->Play(0, 0, 0);
  std::vector<float> both = Render(1000);
  EXPECT_NEAR(both[0], 1000.0f, 2.0f);  // a at 1000 plus b at 0
  a->SetVolume(DSBVOLUME_MIN);
  EXPECT_NEAR(Render(4096)[4095], 5095.0f, 2.0f);  // b alone, at its own position and full volume
}

// OpenAL alone keeps the samples once uploaded, one copy for identical
// buffers: a later Lock must still see what was written, for plain mono (sent
// up as stereo) and 3D buffers alike, and a write through it must be what
// plays, in that buffer only.
TEST_F(Loopback, LockAfterUploadGivesBackTheSamplesAndRewritesOneTwin) {
  for (DWORD flags : {SOUND_BUFFER_FLAGS, SOUND_BUFFER_3D_FLAGS}) {
    IDirectSoundBuffer8* b = MakeBuffer(RampSamples(5000), flags);
    IDirectSoundBuffer8* twin = MakeBuffer(RampSamples(5000), flags);
    void* p1 = nullptr;
    DWORD n1 = 0;
    ASSERT_EQ(b->Lock(0, 10000, &p1, &n1, nullptr, nullptr, 0), DS_OK);
    ASSERT_EQ(n1, 10000u);
    std::vector<int16_t> held(5000);
    std::memcpy(held.data(), p1, n1);
    EXPECT_EQ(held, RampSamples(5000));
    static_cast<int16_t*>(p1)[4000] = 9000;
    ASSERT_EQ(b->Unlock(p1, n1, nullptr, 0), DS_OK);
    for (IDirectSoundBuffer8* played : {b, twin}) {
      played->Play(0, 0, 0);
      std::vector<float> out = Render(4002);
      EXPECT_NEAR(out[3999], 3999.0f * (flags == SOUND_BUFFER_FLAGS ? 1.0f : out[1000] / 1000.0f), 2.0f);
      EXPECT_NEAR(out[4000] / out[3999], (played == b ? 9000.0f : 4000.0f) / 3999.0f, 0.01f);
      played->Stop();
    }
  }
}

// A new buffer reads as silence (unsigned 8-bit at 128) and plays what its
// first Lock wrote, whether that went straight into OpenAL's storage (stereo,
// 3D) or through our copy (plain mono, sent up doubled).
TEST_F(Loopback, NewBuffersReadAsSilenceAndPlayWhatTheFirstLockWrote) {
  struct Case {
    WORD channels, bits;
    DWORD flags;
  };
  for (Case c : {Case{2, 16, SOUND_BUFFER_FLAGS}, Case{2, 8, SOUND_BUFFER_FLAGS}, Case{1, 16, SOUND_BUFFER_3D_FLAGS},
                 Case{1, 16, SOUND_BUFFER_FLAGS}}) {
    SCOPED_TRACE(testing::Message() << c.channels << " channels, " << c.bits << " bits, flags " << c.flags);
    IDirectSoundBuffer* b = NewBuffer(c.channels, c.bits, c.flags, 2000);
    ASSERT_NE(b, nullptr);
    BYTE* p = nullptr;
    DWORD n = 0;
    ASSERT_EQ(b->Lock(0, 0, reinterpret_cast<void**>(&p), &n, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    const BYTE silence = c.bits == 8 ? 0x80 : 0x00;
    EXPECT_EQ(std::count(p, p + n, silence), static_cast<long>(n));
    // The first 1000 frames at a quarter of full scale: 0x2000 little-endian, or 128 + 32.
    for (DWORD i = 0; i < n / 2; ++i) p[i] = c.bits == 8 ? 0xA0 : (i % 2 ? 0x20 : 0x00);
    ASSERT_EQ(b->Unlock(p, n, nullptr, 0), DS_OK);
    b->Play(0, 0, 0);
    std::vector<float> out = Render(2000);
    EXPECT_NEAR(out[10], c.flags == SOUND_BUFFER_3D_FLAGS ? out[990] : 8192.0f, 2.0f);
    EXPECT_GT(out[990], 4000.0f);
    EXPECT_NEAR(out[1010], 0.0f, 1.0f);
    EXPECT_NEAR(out[1990], 0.0f, 1.0f);
    b->Stop();
  }
}

// A first Lock hands out OpenAL's storage, so a device lost meanwhile is
// reopened only after the Unlock; what was written then plays on the new one.
TEST_F(Loopback, ADeviceLostDuringALockIsReopenedAfterTheUnlock) {
  IDirectSoundBuffer* b = NewBuffer(2, 16, SOUND_BUFFER_FLAGS, 2000);
  ASSERT_NE(b, nullptr);
  int16_t* p = nullptr;
  DWORD n = 0;
  ASSERT_EQ(b->Lock(0, 0, reinterpret_cast<void**>(&p), &n, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
  corvane::audio::SimulateDeviceLoss();
  testing::internal::CaptureStderr();
  listener->SetPosition(0.0f, 0.0f, 0.0f, DS3D_IMMEDIATE);
  ASSERT_EQ(testing::internal::GetCapturedStderr().find("reopening"), std::string::npos);
  std::fill(p, p + n / 2, int16_t{8192});
  ASSERT_EQ(b->Unlock(p, n, nullptr, 0), DS_OK);
  testing::internal::CaptureStderr();
  listener->SetPosition(0.0f, 0.0f, 0.0f, DS3D_IMMEDIATE);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("reopening"), std::string::npos);
  b->Play(0, 0, DSBPLAY_LOOPING);
  EXPECT_NEAR(Render(256)[255], 8192.0f, 1.0f);
}

TEST_F(Loopback, ThreeDimensionalSoundPansAndFallsOffWithDistance) {
  IDirectSoundBuffer8* b = MakeBuffer(std::vector<int16_t>(4410, 16000), SOUND_BUFFER_3D_FLAGS);
  IDirectSound3DBuffer* b3d = nullptr;
  ASSERT_EQ(b->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(&b3d)), S_OK);
  owned.push_back(b3d);
  PlaySoundLooping(b);

  std::vector<float> right;
  b3d->SetPosition(-2.0f, 0.0f, 0.0f, DS3D_IMMEDIATE);  // the listener's left
  std::vector<float> left = Render(4096, &right);
  EXPECT_GT(std::fabs(left[4095]), 2.0f * std::fabs(right[4095]));

  b3d->SetPosition(0.0f, 0.0f, 2.0f, DS3D_IMMEDIATE);  // straight ahead
  float near = Render(4096, &right)[4095];
  EXPECT_NEAR(near, right[4095], 1.0f);
  b3d->SetPosition(0.0f, 0.0f, 4.0f, DS3D_IMMEDIATE);
  float far = Render(4096)[4095];
  EXPECT_NEAR(far / near, 0.5f, 0.01f);

  // The listener turned to face +x hears a sound at +z on its left.
  listener->SetOrientation(1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, DS3D_IMMEDIATE);
  left = Render(4096, &right);
  EXPECT_GT(std::fabs(left[4095]), 2.0f * std::fabs(right[4095]));
}

TEST_F(Loopback, ReopenedDeviceKeepsEveryBuffersState) {
  IDirectSoundBuffer8* level = MakeBuffer(std::vector<int16_t>(4410, 16000));
  IDirectSoundBuffer8* ramp = MakeBuffer(RampSamples(20000));
  level->SetVolume(-500);
  PlaySoundLooping(level);
  ramp->Play(0, 0, 0);
  Render(1000);
  ramp->Stop();

  corvane::audio::SimulateDeviceLoss();
  testing::internal::CaptureStderr();
  listener->SetPosition(0.0f, 0.0f, 0.0f, DS3D_IMMEDIATE);  // an everyday call notices the loss
  EXPECT_NE(testing::internal::GetCapturedStderr().find("reopening"), std::string::npos);

  EXPECT_NEAR(Render(4096)[4095], 16000.0f * 0.5623f, 10.0f);  // still looping, same volume
  level->Stop();
  ramp->Play(0, 0, 0);
  EXPECT_NEAR(Render(1024)[1023], 2023.0f, 10.0f);  // resumes where it was stopped
}

// The device stays away through two more tries, a few seconds apart; the
// third finds it, and the loop plays on at its volume.
TEST_F(Loopback, ALostDeviceIsLookedForUntilItComesBack) {
  IDirectSoundBuffer8* level = MakeBuffer(std::vector<int16_t>(4410, 16000));
  level->SetVolume(-500);
  PlaySoundLooping(level);
  corvane::audio::UseNoDevice(true);
  corvane::audio::SimulateDeviceLoss();
  testing::internal::CaptureStderr();
  for (int tries = 0; tries < 3; ++tries) {
    listener->SetPosition(0.0f, 0.0f, 0.0f, DS3D_IMMEDIATE);
    corvane::audio::AdvanceDeviceClock(std::chrono::seconds(4));
  }
  float mix[2];
  EXPECT_FALSE(corvane::audio::RenderLoopback(mix, 1));  // no device meanwhile
  corvane::audio::UseNoDevice(false);
  level->Play(0, 0, DSBPLAY_LOOPING);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("sound is on again"), std::string::npos);
  EXPECT_NEAR(Render(4096)[4095], 16000.0f * 0.5623f, 10.0f);
}

TEST(NoSoundDevice, EveryCallWorksSilentlyAndSaysSoOnce) {
  corvane::audio::UseNoDevice(true);
  testing::internal::CaptureStderr();
  IDirectSound8* ds = nullptr;
  ASSERT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DS_OK);
  ASSERT_NE(ds, nullptr);
  std::string path = riff::WriteFile(
      "quiet.wav", riff::Riff({riff::PcmFormat(1, 44100, 16), riff::Chunk("data", riff::Samples16(RampSamples(100)))}));
  Audio.directSound = ds;
  IDirectSoundBuffer8* sound = nullptr;
  LoadSound(&sound, path.c_str());
  Audio.directSound = nullptr;
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->SetCurrentPosition(0), DS_OK);
  EXPECT_EQ(sound->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(sound->SetVolume(-500), DS_OK);
  EXPECT_EQ(sound->Stop(), DS_OK);
  IDirectSound8* second = nullptr;
  ASSERT_EQ(DirectSoundCreate8(nullptr, &second, nullptr), DS_OK);
  second->Release();
  sound->Release();
  ds->Release();
  std::string said = testing::internal::GetCapturedStderr();
  corvane::audio::UseNoDevice(false);
  size_t first = said.find("sound is off");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(said.find("sound is off", first + 1), std::string::npos);
}

}  // namespace
