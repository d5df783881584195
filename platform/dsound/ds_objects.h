// The DirectSound 8 objects on OpenAL Soft. Every buffer keeps its samples and
// its state (cursor, volume, looping, 3D position) on our side, so the mix can
// be rebuilt when the device is reopened, and so every call still works
// silently when there is no device at all.
#pragma once

#include <dsound.h>

#include <AL/al.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "dsound/audio_device.h"
#include "dsound/sample_store.h"
#include "internal/com_object.h"

namespace corvane::audio {

class DirectSound8;

struct Position3D {
  float x = 0.0f, y = 0.0f, z = 0.0f;
};

struct ListenerState {
  Position3D position;
  Position3D front{0.0f, 0.0f, 1.0f};
  Position3D top{0.0f, 1.0f, 0.0f};
  float distanceFactor = DS3D_DEFAULTDISTANCEFACTOR;
  float rolloffFactor = DS3D_DEFAULTROLLOFFFACTOR;
};

class SoundBuffer;

// The 3D control of a secondary buffer; shares the buffer's reference count.
class Sound3DBuffer final : public SharedRefs<IDirectSound3DBuffer> {
 public:
  explicit Sound3DBuffer(SoundBuffer* owner);
  HRESULT STDMETHODCALLTYPE SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) override;

 private:
  SoundBuffer* owner_;
};

class SoundBuffer final : public ComObject<IDirectSoundBuffer8> {
 public:
  SoundBuffer(DirectSound8* ds, const DSBUFFERDESC& desc);
  ~SoundBuffer() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE SetFormat(LPCWAVEFORMATEX format) override;
  HRESULT STDMETHODCALLTYPE SetVolume(LONG volume) override;
  HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD position) override;
  HRESULT STDMETHODCALLTYPE Play(DWORD reserved, DWORD priority, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* ptr1, LPDWORD bytes1, LPVOID* ptr2,
                                 LPDWORD bytes2, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Unlock(LPVOID ptr1, DWORD bytes1, LPVOID ptr2, DWORD bytes2) override;
  HRESULT STDMETHODCALLTYPE Restore() override;

  // Used by the 3D interface, the listener and the device handling.
  HRESULT SetPosition3D(float x, float y, float z, DWORD apply);
  void CommitDeferred();
  void ApplyRolloff(float rolloff);
  void SaveState(bool deviceAlive);  // before the device goes away
  void CreateAl();                   // on the current device
  void DestroyAl(bool keepSamples);  // keepSamples: our own copy again, for the next device
  void ApplyGain();               // the game's volume under the player's level
  void HoldForFocus(bool hold);   // pause where it is, or go on from there
  // A Lock hands out OpenAL's storage: the device must stay until its Unlock.
  bool WritingInPlace() const { return writing_ != nullptr; }

 private:
  bool Is3D() const { return (flags_ & DSBCAPS_CTRL3D) != 0; }
  // A plain mono buffer sounds in both speakers at full level, as in
  // DirectSound: it goes to OpenAL as stereo with both channels alike.
  bool SentDoubled() const { return format_.nChannels == 1 && !Is3D(); }
  ALenum AlFormat() const;                                                        // of the samples as OpenAL holds them
  BYTE SilenceByte() const { return format_.wBitsPerSample == 8 ? 0x80 : 0x00; }  // unsigned 8-bit is silent at 128
  DWORD Cursor() const;       // play cursor in bytes, from OpenAL or our own clock
  DWORD ClockCursor() const;  // the cursor worked out from the clock alone
  uint64_t ClockFrame() const;
  // Our copy into new OpenAL storage, written there straight where OpenAL
  // lets it, or else copied by OpenAL.
  void UploadSamples();
  void CopyAsSent(BYTE* out) const;  // our copy as OpenAL holds it (plain mono doubled)
  // The first Lock of a buffer that holds nothing yet writes straight into a
  // new OpenAL buffer (silent at first), so the samples are never copied;
  // false when OpenAL cannot hand out its storage or must convert them.
  bool BeginWritingInPlace();
  void EndWritingInPlace();  // at Unlock: shares the samples with a twin if there is one
  // Puts `buffer` under the source in place of the old one, which is released;
  // the source keeps its position and goes on playing if it was.
  void Attach(ALuint buffer);
  // Our copy of the samples again, read back from OpenAL if it was dropped,
  // or silence if nothing was written; false when OpenAL cannot give them back.
  bool TakeSamplesBack();
  void FillWithSilence();
  // A new buffer's silence reaches OpenAL only when it is played or moved
  // before anything was written into it.
  void UploadIfPending();
  void Anchor(DWORD cursor);

  DirectSound8* ds_;
  Sound3DBuffer buffer3D_;
  DWORD flags_;
  WAVEFORMATEX format_;
  DWORD bytes_;             // the buffer's size
  std::vector<BYTE> data_;  // empty while OpenAL alone holds the samples, or none were written
  LONG volume_ = DSBVOLUME_MAX;
  bool playing_ = false;
  bool looping_ = false;
  Position3D position_, deferredPosition_;
  bool positionDeferred_ = false;
  bool held_ = false;  // paused while the window has no focus
  // Without a device the cursor is worked out from when playback last started.
  DWORD anchorCursor_ = 0;
  std::chrono::steady_clock::time_point anchorTime_;
  ALuint source_ = 0;
  ALuint alBuffer_ = 0;
  bool uploadPending_ = false;  // OpenAL holds no samples yet
  bool written_ = false;        // Unlock has been called
  bool alHoldsSamples_ = false; // alBuffer_ can give the samples back
  bool locked_ = false;         // the game may be writing into data_
  BYTE* writing_ = nullptr;     // alBuffer_'s storage while a Lock writes straight into it
};

class Listener final : public SharedRefs<IDirectSound3DListener> {
 public:
  explicit Listener(IUnknown* owner, DirectSound8* ds) : SharedRefs(owner), ds_(ds) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) override;
  HRESULT STDMETHODCALLTYPE SetOrientation(D3DVALUE xFront, D3DVALUE yFront, D3DVALUE zFront, D3DVALUE xTop,
                                           D3DVALUE yTop, D3DVALUE zTop, DWORD apply) override;
  HRESULT STDMETHODCALLTYPE SetDistanceFactor(D3DVALUE factor, DWORD apply) override;
  HRESULT STDMETHODCALLTYPE SetRolloffFactor(D3DVALUE factor, DWORD apply) override;
  HRESULT STDMETHODCALLTYPE CommitDeferredSettings() override;

 private:
  DirectSound8* ds_;
};

class PrimaryBuffer final : public ComObject<IDirectSoundBuffer> {
 public:
  PrimaryBuffer(DirectSound8* ds, DWORD flags);
  ~PrimaryBuffer() override;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE SetFormat(LPCWAVEFORMATEX format) override;
  HRESULT STDMETHODCALLTYPE SetVolume(LONG volume) override;
  HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD position) override;
  HRESULT STDMETHODCALLTYPE Play(DWORD reserved, DWORD priority, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* ptr1, LPDWORD bytes1, LPVOID* ptr2,
                                 LPDWORD bytes2, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Unlock(LPVOID ptr1, DWORD bytes1, LPVOID ptr2, DWORD bytes2) override;
  HRESULT STDMETHODCALLTYPE Restore() override;

 private:
  DirectSound8* ds_;
  DWORD flags_;
  Listener listener_;
};

class DirectSound8 final : public ComObject<IDirectSound8> {
 public:
  DirectSound8();
  ~DirectSound8() override;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer,
                                              LPUNKNOWN outer) override;
  HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND hwnd, DWORD level) override;

  // For the buffers and the listener.
  bool Audible();  // makes the context current; also notices a lost device
  bool Ready();    // makes the context current, without the device check
  float rolloff() const { return listener_.rolloffFactor; }
  void Register(SoundBuffer* buffer);
  void Unregister(SoundBuffer* buffer);
  ListenerState& listener() { return listener_; }
  ListenerState& deferredListener() { return deferredListener_; }
  void ApplyListener();
  void CommitDeferred();
  void SetMasterVolume(LONG volume);
  void ApplyGains();
  void HoldForFocus(bool hold);
  SharedSamples& samples() { return samples_; }

 private:
  void Reconnect();
  void Reopen();
  // A Lock into OpenAL's storage is open: the device is checked after its Unlock.
  bool WritingInPlace() const;

  AudioDevice device_;
  DWORD cooperativeLevel_ = 0;
  std::vector<SoundBuffer*> buffers_;
  SharedSamples samples_;  // the OpenAL buffers behind buffers_
  ListenerState listener_, deferredListener_;
  LONG masterVolume_ = DSBVOLUME_MAX;
  std::chrono::steady_clock::time_point nextCheck_;
  bool reopenPending_ = false;  // the device went away and none has opened since
  bool silentSinceLoss_ = false;  // a reopen has failed since then
};

// Trace one call for --sound-trace; costs nothing when tracing is off.
void Trace(const void* object, const char* method);
void Trace(const void* object, const char* method, const char* format, ...) __attribute__((format(printf, 3, 4)));

bool IsIUnknown(REFIID riid);

}  // namespace corvane::audio
