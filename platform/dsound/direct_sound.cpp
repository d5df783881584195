// The DirectSound object: owns the OpenAL device, the listener state and the
// list of live buffers, and reopens sound when the device disappears.
#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "dsound/ds_objects.h"
#include "dsound/sound_math.h"
#include "common/startup_marks.h"
#include "common/player_settings.h"
#include "internal/automation.h"
#include "win32/focus_pause.h"

namespace corvane::audio {

namespace {
std::vector<DirectSound8*> liveObjects;  // for the player's levels and the focus pause

void ReapplyGains() {
  for (DirectSound8* ds : liveObjects) ds->ApplyGains();
}

void HoldAllForFocus(bool hold) {
  for (DirectSound8* ds : liveObjects) ds->HoldForFocus(hold);
}

// How often a call the game makes anyway checks that the device is still
// there, and how often a lost one is looked for again, for as long as it takes.
constexpr auto CONNECTION_CHECK_INTERVAL = std::chrono::seconds(1);
constexpr auto REOPEN_INTERVAL = std::chrono::seconds(3);
}  // namespace

void Trace(const void* object, const char* method) {
  if (SoundTraceEnabled()) SoundTrace(object, method, "");
}

void Trace(const void* object, const char* method, const char* format, ...) {
  if (!SoundTraceEnabled()) return;
  char args[160];
  va_list list;
  va_start(list, format);
  std::vsnprintf(args, sizeof args, format, list);
  va_end(list);
  SoundTrace(object, method, args);
}

bool IsIUnknown(REFIID riid) {
  static const GUID iidIUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  return riid == iidIUnknown;
}

DirectSound8::DirectSound8() {
  liveObjects.push_back(this);
  SetSoundLevelListener(ReapplyGains);
  SetFocusPauseListener(HoldAllForFocus);
  device_.Open();
  nextCheck_ = DeviceClock() + CONNECTION_CHECK_INTERVAL;
}

DirectSound8::~DirectSound8() {
  liveObjects.erase(std::remove(liveObjects.begin(), liveObjects.end(), this), liveObjects.end());
  device_.Close();
}

HRESULT DirectSound8::QueryInterface(REFIID riid, void** object) {
  const bool known = riid == IID_IDirectSound8 || IsIUnknown(riid);
  return Answer(object, known ? static_cast<IDirectSound8*>(this) : nullptr);
}

HRESULT DirectSound8::CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer, LPUNKNOWN outer) {
  if (desc && !(desc->dwFlags & DSBCAPS_PRIMARYBUFFER)) corvane::MarkStartup(corvane::StartupMark::FirstSoundBuffer);
  Trace(this, "CreateSoundBuffer", "0x%X %u", desc ? desc->dwFlags : 0u, desc ? desc->dwBufferBytes : 0u);
  if (!buffer || !desc) return DSERR_INVALIDPARAM;
  *buffer = nullptr;
  if (outer) return DSERR_NOAGGREGATION;
  // 36 is the description's size in 32-bit programs; the older form has no algorithm GUID.
  if (desc->dwSize != sizeof(DSBUFFERDESC) && desc->dwSize != sizeof(DSBUFFERDESC1) && desc->dwSize != 36)
    return DSERR_INVALIDPARAM;

  if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
    if (desc->dwBufferBytes != 0 || desc->lpwfxFormat) return DSERR_INVALIDPARAM;
    *buffer = new PrimaryBuffer(this, desc->dwFlags);
    return DS_OK;
  }

  const WAVEFORMATEX* format = desc->lpwfxFormat;
  if (!format || desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
  if ((desc->dwFlags & DSBCAPS_CTRL3D) && (desc->dwFlags & DSBCAPS_CTRLPAN)) return DSERR_INVALIDPARAM;
  // What OpenAL plays without conversion: 8- or 16-bit PCM, mono or stereo.
  bool playable = format->wFormatTag == WAVE_FORMAT_PCM && (format->nChannels == 1 || format->nChannels == 2) &&
                  (format->wBitsPerSample == 8 || format->wBitsPerSample == 16) &&
                  format->nBlockAlign == format->nChannels * format->wBitsPerSample / 8 &&
                  format->nSamplesPerSec >= 100 && format->nSamplesPerSec <= 200000;
  if (!playable) return DSERR_BADFORMAT;
  if ((desc->dwFlags & DSBCAPS_CTRL3D) && format->nChannels != 1) return DSERR_INVALIDPARAM;

  DSBUFFERDESC copy = *desc;
  copy.dwBufferBytes -= copy.dwBufferBytes % format->nBlockAlign;
  if (copy.dwBufferBytes == 0) return DSERR_INVALIDPARAM;
  *buffer = new SoundBuffer(this, copy);
  return DS_OK;
}

HRESULT DirectSound8::SetCooperativeLevel(HWND hwnd, DWORD level) {
  Trace(this, "SetCooperativeLevel", "%u", level);
  if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
  cooperativeLevel_ = level;
  return DS_OK;
}

bool DirectSound8::Audible() {
  auto now = DeviceClock();
  if (reopenPending_ && now >= nextCheck_) {
    nextCheck_ = now + REOPEN_INTERVAL;
    Reopen();
  } else if (!reopenPending_ && (now >= nextCheck_ || DeviceLossSimulated()) && !WritingInPlace()) {
    nextCheck_ = now + CONNECTION_CHECK_INTERVAL;
    if (device_.Lost()) Reconnect();
  }
  return Ready();
}

bool DirectSound8::Ready() {
  if (!device_.Active()) return false;
  device_.MakeCurrent();
  return true;
}

void DirectSound8::Reconnect() {
  std::fprintf(stderr, "corvane: the sound device went away; reopening the default device\n");
  device_.MakeCurrent();
  bool alive = !device_.Lost();  // a lost device no longer reports where its sources were
  for (SoundBuffer* b : buffers_) b->SaveState(alive);
  for (SoundBuffer* b : buffers_) b->DestroyAl(true);
  device_.Close();
  reopenPending_ = true;
  nextCheck_ = DeviceClock() + REOPEN_INTERVAL;
  Reopen();
}

// The buffers kept their state by the clock while there was no device; the
// mix is rebuilt from it once a device opens.
void DirectSound8::Reopen() {
  for (SoundBuffer* b : buffers_) b->SaveState(false);
  if (!device_.Open()) {
    silentSinceLoss_ = true;
    return;
  }
  if (silentSinceLoss_) std::fprintf(stderr, "corvane: a sound device is back; sound is on again\n");
  reopenPending_ = silentSinceLoss_ = false;
  ApplyListener();
  SetMasterVolume(masterVolume_);
  for (SoundBuffer* b : buffers_) b->CreateAl();
}

void DirectSound8::Register(SoundBuffer* buffer) { buffers_.push_back(buffer); }

bool DirectSound8::WritingInPlace() const {
  return std::any_of(buffers_.begin(), buffers_.end(), [](const SoundBuffer* b) { return b->WritingInPlace(); });
}

void DirectSound8::Unregister(SoundBuffer* buffer) {
  for (size_t i = 0; i < buffers_.size(); ++i)
    if (buffers_[i] == buffer) {
      buffers_.erase(buffers_.begin() + static_cast<long>(i));
      return;
    }
}

void DirectSound8::ApplyListener() {
  if (!device_.Active()) return;
  device_.MakeCurrent();
  AlVector p = ToOpenAl(listener_.position.x, listener_.position.y, listener_.position.z);
  AlVector f = ToOpenAl(listener_.front.x, listener_.front.y, listener_.front.z);
  AlVector t = ToOpenAl(listener_.top.x, listener_.top.y, listener_.top.z);
  const ALfloat orientation[6] = {f.x, f.y, f.z, t.x, t.y, t.z};
  alListener3f(AL_POSITION, p.x, p.y, p.z);
  alListenerfv(AL_ORIENTATION, orientation);
  if (listener_.distanceFactor > 0.0f) alSpeedOfSound(343.3f / listener_.distanceFactor);
  for (SoundBuffer* b : buffers_) b->ApplyRolloff(listener_.rolloffFactor);
}

void DirectSound8::CommitDeferred() {
  listener_ = deferredListener_;
  ApplyListener();
  for (SoundBuffer* b : buffers_) b->CommitDeferred();
}

void DirectSound8::ApplyGains() {
  if (!Ready()) return;
  for (SoundBuffer* b : buffers_) b->ApplyGain();
}

void DirectSound8::HoldForFocus(bool hold) {
  Ready();
  for (SoundBuffer* b : buffers_) b->HoldForFocus(hold);
}

void DirectSound8::SetMasterVolume(LONG volume) {
  masterVolume_ = volume;
  if (device_.Active()) {
    device_.MakeCurrent();
    alListenerf(AL_GAIN, VolumeToGain(volume));
  }
}

}  // namespace corvane::audio

extern "C" HRESULT WINAPI DirectSoundCreate8(LPCGUID pcGuidDevice, LPDIRECTSOUND8* ppDS8, LPUNKNOWN pUnkOuter) {
  if (!ppDS8) return DSERR_INVALIDPARAM;
  *ppDS8 = nullptr;
  if (pUnkOuter) return DSERR_NOAGGREGATION;
  const corvane::StartupTimer timer(corvane::StartupPart::SoundSystem);
  // Without a device the object still exists and takes every call silently.
  *ppDS8 = new corvane::audio::DirectSound8();
  return DS_OK;
}
