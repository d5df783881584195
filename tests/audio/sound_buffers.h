// DirectSound buffers of 16-bit mono 44100 Hz samples for the audio tests, and
// the ramp whose sample i has the value i (so the mix tells the play position).
#pragma once

#include <gtest/gtest.h>

#include <dsound.h>

#include <cstring>
#include <vector>

inline std::vector<int16_t> RampSamples(int n) {
  std::vector<int16_t> s(n);
  for (int i = 0; i < n; ++i) s[i] = static_cast<int16_t>(i);
  return s;
}

// A buffer holding `samples`; null (and a test failure) when none is made.
inline IDirectSoundBuffer8* MakeSoundBuffer(IDirectSound8* ds, const std::vector<int16_t>& samples, DWORD flags) {
  WAVEFORMATEX format = {WAVE_FORMAT_PCM, 1, 44100, 88200, 2, 16, 0};
  DSBUFFERDESC desc = {};
  desc.dwSize = sizeof desc;
  desc.dwFlags = flags;
  desc.dwBufferBytes = static_cast<DWORD>(samples.size() * 2);
  desc.lpwfxFormat = &format;
  IDirectSoundBuffer* plain = nullptr;
  IDirectSoundBuffer8* buffer = nullptr;
  EXPECT_EQ(ds->CreateSoundBuffer(&desc, &plain, nullptr), DS_OK);
  if (!plain) return nullptr;
  EXPECT_EQ(plain->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<void**>(&buffer)), S_OK);
  plain->Release();
  void *p1 = nullptr, *p2 = nullptr;
  DWORD n1 = 0, n2 = 0;
  EXPECT_EQ(buffer->Lock(0, desc.dwBufferBytes, &p1, &n1, &p2, &n2, 0), DS_OK);
  std::memcpy(p1, samples.data(), n1);
  EXPECT_EQ(buffer->Unlock(p1, n1, p2, n2), DS_OK);
  return buffer;
}
