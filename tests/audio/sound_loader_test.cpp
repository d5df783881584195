// The sound loaders: filling a buffer whose Lock gives two regions, the one
// retry after a lost buffer, and the silent stand-in for a missing file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "audio/riff_builder.h"
#include "media/sound_loader.h"

namespace {

// A buffer whose memory is split in two places, lost on the first Lock.
struct SplitBuffer final : IDirectSoundBuffer8 {
  std::vector<BYTE> head = std::vector<BYTE>(5), tail;
  int locks = 0, restores = 0, unlocks = 0;
  void* unlocked1 = nullptr;
  void* unlocked2 = nullptr;
  DWORD unlockedBytes1 = 0, unlockedBytes2 = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (riid != IID_IDirectSoundBuffer8) return E_NOINTERFACE;
    *object = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE SetFormat(LPCWAVEFORMATEX) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE SetVolume(LONG) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE Play(DWORD, DWORD, DWORD) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE Stop() override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* p1, LPDWORD n1, LPVOID* p2, LPDWORD n2,
                                 DWORD) override {
    if (++locks == 1) return DSERR_BUFFERLOST;
    tail.assign(bytes - head.size(), 0);
    *p1 = head.data();
    *n1 = static_cast<DWORD>(head.size());
    *p2 = tail.data();
    *n2 = static_cast<DWORD>(tail.size());
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE Unlock(LPVOID p1, DWORD n1, LPVOID p2, DWORD n2) override {
    ++unlocks;
    unlocked1 = p1;
    unlocked2 = p2;
    unlockedBytes1 = n1;
    unlockedBytes2 = n2;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE Restore() override {
    ++restores;
    return DS_OK;
  }
};

struct OneBufferSound final : IDirectSound8 {
  SplitBuffer buffer;
  DSBUFFERDESC seen = {};
  WAVEFORMATEX seenFormat = {};
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* out, LPUNKNOWN) override {
    seen = *desc;
    seenFormat = *desc->lpwfxFormat;
    *out = &buffer;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND, DWORD) override { return DS_OK; }
};

TEST(SoundLoader, FillsBothLockRegionsInOrderAfterOneRestore) {
  riff::Bytes samples;
  for (int i = 0; i < 12; ++i) samples.push_back(static_cast<uint8_t>(100 + i));
  std::string path = riff::WriteFile("split.wav", riff::Riff({riff::PcmFormat(1, 22050, 8), riff::Chunk("data", samples)}));
  OneBufferSound ds;
  Audio.directSound = &ds;
  IDirectSoundBuffer8* slot = nullptr;
  LoadSound3D(&slot, path.c_str());
  Audio.directSound = nullptr;

  EXPECT_EQ(slot, &ds.buffer);
  EXPECT_EQ(ds.seen.dwFlags, 0x180B0u);
  EXPECT_EQ(ds.seen.dwBufferBytes, 12u);
  EXPECT_TRUE(ds.seen.guid3DAlgorithm == DS3DALG_NO_VIRTUALIZATION);
  EXPECT_EQ(ds.seenFormat.nSamplesPerSec, 22050u);
  EXPECT_EQ(ds.buffer.restores, 1);
  EXPECT_EQ(ds.buffer.locks, 2);
  EXPECT_EQ(ds.buffer.head, riff::Bytes(samples.begin(), samples.begin() + 5));
  EXPECT_EQ(ds.buffer.tail, riff::Bytes(samples.begin() + 5, samples.end()));
  EXPECT_EQ(ds.buffer.unlocked1, ds.buffer.head.data());
  EXPECT_EQ(ds.buffer.unlocked2, ds.buffer.tail.data());
  EXPECT_EQ(ds.buffer.unlockedBytes1, 5u);
  EXPECT_EQ(ds.buffer.unlockedBytes2, 7u);
}

// A missing file gets a silent stand-in (3D too) on which every call works;
// the catalogue, not the loader, names the file (once, with every name it
// tried). Loading real files is covered by the playback tests.
TEST(SoundLoader, StandsInForMissingFiles) {
  IDirectSound8* ds = nullptr;
  ASSERT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DS_OK);
  ASSERT_EQ(ds->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
  const std::string missing = riff::ScratchDir() + "/no-such-sound.wav";
  Audio.directSound = ds;
  IDirectSoundBuffer8* standIn = nullptr;
  testing::internal::CaptureStderr();
  LoadSound3D(&standIn, missing.c_str());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  Audio.directSound = nullptr;
  ASSERT_NE(standIn, nullptr);
  EXPECT_EQ(standIn->SetCurrentPosition(0), DS_OK);
  EXPECT_EQ(standIn->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(standIn->SetVolume(-500), DS_OK);
  EXPECT_EQ(standIn->Stop(), DS_OK);
  IDirectSound3DBuffer* standIn3D = nullptr;
  EXPECT_EQ(standIn->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(&standIn3D)), S_OK);
  ASSERT_NE(standIn3D, nullptr);
  EXPECT_EQ(standIn3D->SetPosition(1.0f, 2.0f, 3.0f, DS3D_IMMEDIATE), DS_OK);
  standIn3D->Release();
  standIn->Release();
  ds->Release();
}

TEST(SoundLoader, LockSplitsAtTheBufferEnd) {
  IDirectSound8* ds = nullptr;
  ASSERT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DS_OK);
  WAVEFORMATEX format = {WAVE_FORMAT_PCM, 1, 44100, 88200, 2, 16, 0};
  DSBUFFERDESC desc = {};
  desc.dwSize = sizeof desc;
  desc.dwFlags = SOUND_BUFFER_FLAGS;
  desc.dwBufferBytes = 64;
  desc.lpwfxFormat = &format;
  IDirectSoundBuffer* b = nullptr;
  ASSERT_EQ(ds->CreateSoundBuffer(&desc, &b, nullptr), DS_OK);
  void* p1 = nullptr;
  void* p2 = nullptr;
  DWORD n1 = 0, n2 = 0;
  ASSERT_EQ(b->Lock(60, 10, &p1, &n1, &p2, &n2, 0), DS_OK);
  EXPECT_EQ(n1, 4u);
  EXPECT_EQ(n2, 6u);
  EXPECT_EQ(static_cast<BYTE*>(p1), static_cast<BYTE*>(p2) + 60);
  EXPECT_EQ(b->Unlock(p1, n1, p2, n2), DS_OK);
  EXPECT_EQ(b->Lock(64, 4, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->Lock(0, 65, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
  b->Release();
  ds->Release();
}

}  // namespace
