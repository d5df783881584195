// A secondary DirectSound buffer as one OpenAL source over one OpenAL buffer.
// Stop pauses (the cursor stays), a finished one-shot is rewound to 0, and a
// second Play on a playing buffer only changes its looping flag. Once OpenAL
// holds the samples in a form it can give back, our copy is dropped (music
// loops are megabytes each) and rebuilt only for a Lock or a new device. A
// buffer holds no memory of its own until it is locked; its first Lock is
// written straight into OpenAL's storage where OpenAL plays it unconverted.
#include <AL/alext.h>

#include <algorithm>
#include <cstring>

#include "dsound/ds_objects.h"
#include "common/player_settings.h"
#include "dsound/sample_store.h"
#include "dsound/sound_math.h"

namespace corvane::audio {

Sound3DBuffer::Sound3DBuffer(SoundBuffer* owner) : SharedRefs(owner), owner_(owner) {}

HRESULT Sound3DBuffer::SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) {
  Trace(this, "SetPosition", "%g %g %g %u", x, y, z, apply);
  return owner_->SetPosition3D(x, y, z, apply);
}

SoundBuffer::SoundBuffer(DirectSound8* ds, const DSBUFFERDESC& desc)
    : ds_(ds), buffer3D_(this), flags_(desc.dwFlags), format_(*desc.lpwfxFormat), bytes_(desc.dwBufferBytes) {
  format_.cbSize = 0;
  anchorTime_ = std::chrono::steady_clock::now();
  ds_->AddRef();
  ds_->Register(this);
  CreateAl();
}

void SoundBuffer::UploadIfPending() {
  if (uploadPending_ && source_ && ds_->Ready()) UploadSamples();
}

SoundBuffer::~SoundBuffer() {
  Trace(this, "Release");  // the last one
  DestroyAl(false);
  ds_->Unregister(this);
  ds_->Release();
}

HRESULT SoundBuffer::QueryInterface(REFIID riid, void** object) {
  if (riid == IID_IDirectSoundBuffer8 || riid == IID_IDirectSoundBuffer || IsIUnknown(riid))
    return Answer(object, static_cast<IDirectSoundBuffer8*>(this));
  if (riid == IID_IDirectSound3DBuffer && Is3D()) return Answer(object, static_cast<IDirectSound3DBuffer*>(&buffer3D_));
  return Answer(object, nullptr);
}

HRESULT SoundBuffer::SetFormat(LPCWAVEFORMATEX) { return DSERR_INVALIDCALL; }  // primary buffers only

HRESULT SoundBuffer::SetVolume(LONG volume) {
  Trace(this, "SetVolume", "%d", volume);
  if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
  volume_ = volume;
  if (ds_->Audible()) ApplyGain();
  return DS_OK;
}

HRESULT SoundBuffer::SetCurrentPosition(DWORD position) {
  Trace(this, "SetCurrentPosition", "%u", position);
  if (position >= bytes_) return DSERR_INVALIDPARAM;
  position -= position % format_.nBlockAlign;
  Anchor(position);
  if (source_ && ds_->Audible()) {
    UploadIfPending();
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    // A finished source would restart at 0; rewinding it to the initial state keeps the new position.
    if (state == AL_STOPPED) alSourceRewind(source_);
    alSourcei(source_, AL_SAMPLE_OFFSET, static_cast<ALint>(position / format_.nBlockAlign));
  }
  return DS_OK;
}

HRESULT SoundBuffer::Play(DWORD reserved, DWORD priority, DWORD flags) {
  Trace(this, "Play", "%u %u %u", reserved, priority, flags);
  if (reserved != 0) return DSERR_INVALIDPARAM;
  bool wasPlaying = playing_;
  DWORD start = Cursor();
  if (wasPlaying && start == 0 && !looping_) wasPlaying = false;  // it ran to its end meanwhile
  looping_ = (flags & DSBPLAY_LOOPING) != 0;
  playing_ = true;
  if (!wasPlaying) Anchor(start);
  // Asked first: a sound played while the device is away is where it is looked for again.
  if (ds_->Audible() && source_) {
    alSourcei(source_, AL_LOOPING, looping_ ? AL_TRUE : AL_FALSE);
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING) alSourcePlay(source_);
  }
  return DS_OK;
}

HRESULT SoundBuffer::Stop() {
  Trace(this, "Stop");
  DWORD cursor = Cursor();
  playing_ = false;
  Anchor(cursor);
  if (source_ && ds_->Ready()) {
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING) alSourcePause(source_);
  }
  return DS_OK;
}

HRESULT SoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* ptr1, LPDWORD bytes1, LPVOID* ptr2, LPDWORD bytes2,
                          DWORD flags) {
  Trace(this, "Lock", "%u %u %u", offset, bytes, flags);
  LockRegions regions;
  if (!ptr1 || !bytes1 || !ComputeLockRegions(bytes_, offset, bytes, flags, Cursor(), &regions))
    return DSERR_INVALIDPARAM;
  if (!writing_ && !BeginWritingInPlace() && !TakeSamplesBack()) return DSERR_BUFFERLOST;
  locked_ = true;
  BYTE* memory = writing_ ? writing_ : data_.data();
  *ptr1 = memory + regions.offset1;
  *bytes1 = regions.bytes1;
  // Without a place for the second region the lock stops at the buffer's end.
  if (ptr2) *ptr2 = regions.bytes2 ? memory : nullptr;
  if (bytes2) *bytes2 = ptr2 ? regions.bytes2 : 0;
  return DS_OK;
}

HRESULT SoundBuffer::Unlock(LPVOID ptr1, DWORD bytes1, LPVOID ptr2, DWORD bytes2) {
  Trace(this, "Unlock", "%u %u", bytes1, bytes2);
  BYTE* begin = writing_;
  if (!begin) {
    if (!TakeSamplesBack()) return DSERR_INVALIDPARAM;
    begin = data_.data();
  }
  BYTE* end = begin + bytes_;
  auto inside = [&](LPVOID p, DWORD n) {
    BYTE* b = static_cast<BYTE*>(p);
    return n == 0 || (b >= begin && b <= end && n <= static_cast<DWORD>(end - b));
  };
  if (!inside(ptr1, bytes1) || !inside(ptr2, bytes2)) return DSERR_INVALIDPARAM;
  written_ = true;
  locked_ = false;
  if (writing_) EndWritingInPlace();
  else if (source_ && ds_->Ready()) UploadSamples();
  return DS_OK;
}

HRESULT SoundBuffer::Restore() {
  Trace(this, "Restore");
  return DS_OK;  // our buffers live in ordinary memory and are never lost
}

HRESULT SoundBuffer::SetPosition3D(float x, float y, float z, DWORD apply) {
  if (!Is3D()) return DSERR_CONTROLUNAVAIL;
  deferredPosition_ = {x, y, z};
  if (apply == DS3D_DEFERRED) {
    positionDeferred_ = true;
    return DS_OK;
  }
  positionDeferred_ = false;
  position_ = deferredPosition_;
  if (source_ && ds_->Audible()) {
    AlVector p = ToOpenAl(x, y, z);
    alSource3f(source_, AL_POSITION, p.x, p.y, p.z);
  }
  return DS_OK;
}

void SoundBuffer::CommitDeferred() {
  if (positionDeferred_) SetPosition3D(deferredPosition_.x, deferredPosition_.y, deferredPosition_.z, DS3D_IMMEDIATE);
}

void SoundBuffer::ApplyRolloff(float rolloff) {
  // OpenAL has no global rolloff: every 3D source gets the listener's.
  if (source_ && Is3D() && ds_->Ready()) alSourcef(source_, AL_ROLLOFF_FACTOR, rolloff);
}

DWORD SoundBuffer::Cursor() const {
  if (source_ && ds_->Ready()) {
    ALint state = AL_INITIAL, frame = 0;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (state == AL_STOPPED) return 0;  // ran to its end: DirectSound rewinds
    if (state == AL_INITIAL) return anchorCursor_;
    alGetSourcei(source_, AL_SAMPLE_OFFSET, &frame);
    return static_cast<DWORD>(frame) * format_.nBlockAlign;
  }
  return ClockCursor();
}

uint64_t SoundBuffer::ClockFrame() const {
  if (!playing_ || held_) return anchorCursor_ / format_.nBlockAlign;
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - anchorTime_).count();
  return anchorCursor_ / format_.nBlockAlign + static_cast<uint64_t>(seconds * format_.nSamplesPerSec);
}

DWORD SoundBuffer::ClockCursor() const {
  // No device: follow the clock from where playback last started.
  uint64_t frames = bytes_ / format_.nBlockAlign;
  uint64_t frame = ClockFrame();
  if (frame >= frames) {
    if (!looping_) return 0;
    frame %= frames;
  }
  return static_cast<DWORD>(frame * format_.nBlockAlign);
}

void SoundBuffer::Anchor(DWORD cursor) {
  anchorCursor_ = cursor;
  anchorTime_ = std::chrono::steady_clock::now();
}

void SoundBuffer::SaveState(bool deviceAlive) {
  bool ended;
  DWORD cursor;
  if (source_ && deviceAlive) {
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    ended = playing_ && state == AL_STOPPED;
    cursor = Cursor();
  } else {
    // A lost device no longer knows where its sources were.
    ended = playing_ && !looping_ && ClockFrame() >= bytes_ / format_.nBlockAlign;
    cursor = ClockCursor();
  }
  if (ended) playing_ = false;
  Anchor(cursor);
}

void SoundBuffer::CreateAl() {
  if (source_ || !ds_->Ready()) return;
  alGetError();
  alGenSources(1, &source_);
  if (alGetError() != AL_NO_ERROR) {
    DestroyAl(false);
    return;
  }
  ApplyGain();
  alSourcei(source_, AL_LOOPING, looping_ ? AL_TRUE : AL_FALSE);
  if (Is3D()) {
    AlVector p = ToOpenAl(position_.x, position_.y, position_.z);
    alSourcei(source_, AL_SOURCE_RELATIVE, AL_FALSE);
    alSource3f(source_, AL_POSITION, p.x, p.y, p.z);
    alSourcef(source_, AL_REFERENCE_DISTANCE, DS3D_DEFAULTMINDISTANCE);
    alSourcef(source_, AL_MAX_DISTANCE, DS3D_DEFAULTMAXDISTANCE);
    alSourcef(source_, AL_ROLLOFF_FACTOR, ds_->rolloff());
  } else {
    // Plain buffers play straight to the speakers, unpanned and unattenuated.
    alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source_, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source_, AL_ROLLOFF_FACTOR, 0.0f);
    alSourcei(source_, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
  }
  // Samples go up when written (Unlock); a buffer only ever created holds
  // silence, sent when it is first played.
  uploadPending_ = true;
  if (playing_ || written_) UploadSamples();
  if (playing_) alSourcePlay(source_);
}

void SoundBuffer::ApplyGain() {
  if (!source_ || !ds_->Ready()) return;
  alSourcef(source_, AL_GAIN, VolumeToGain(volume_) * PlayerSoundGain(static_cast<IDirectSoundBuffer8*>(this)));
}

void SoundBuffer::HoldForFocus(bool hold) {
  if (hold == held_) return;
  if (hold) Anchor(Cursor());
  else anchorTime_ = std::chrono::steady_clock::now();  // go on from the held cursor
  held_ = hold;
  if (!source_ || !ds_->Ready()) return;
  ALint state = AL_INITIAL;
  alGetSourcei(source_, AL_SOURCE_STATE, &state);
  if (hold && state == AL_PLAYING) alSourcePause(source_);
  if (!hold && state == AL_PAUSED && playing_) alSourcePlay(source_);
}

void SoundBuffer::DestroyAl(bool keepSamples) {
  // Samples that cannot be read back any more leave the buffer silent.
  if (keepSamples) TakeSamplesBack();
  alHoldsSamples_ = false;
  writing_ = nullptr;
  if (!ds_->Ready()) {
    source_ = alBuffer_ = 0;  // gone with the old context
    return;
  }
  if (source_) {
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
    alDeleteSources(1, &source_);
  }
  if (alBuffer_) ds_->samples().Release(alBuffer_);
  source_ = alBuffer_ = 0;
}

void SoundBuffer::UploadSamples() {
  uploadPending_ = false;
  if (!TakeSamplesBack()) return;  // cannot happen: OpenAL held them a moment ago
  const size_t size = SentDoubled() ? 2 * data_.size() : data_.size();
  const ALsizei rate = static_cast<ALsizei>(format_.nSamplesPerSec);
  void* memory = nullptr;
  if (const ALuint written = ds_->samples().Create(AlFormat(), size, rate, &memory)) {
    CopyAsSent(static_cast<BYTE*>(memory));
    alHoldsSamples_ = true;
    const ALuint kept = ds_->samples().Seal(written);
    if (kept != written) ds_->samples().Release(written);  // a twin holds them already
    Attach(kept);
  } else if (SentDoubled()) {
    std::vector<BYTE> stereo(size);
    CopyAsSent(stereo.data());
    Attach(ds_->samples().Acquire(AlFormat(), stereo.data(), size, rate, &alHoldsSamples_));
  } else {
    Attach(ds_->samples().Acquire(AlFormat(), data_.data(), size, rate, &alHoldsSamples_));
  }
  if (alHoldsSamples_ && !locked_) std::vector<BYTE>().swap(data_);
}

void SoundBuffer::CopyAsSent(BYTE* out) const {
  if (!SentDoubled()) {
    std::memcpy(out, data_.data(), data_.size());
    return;
  }
  const size_t width = format_.wBitsPerSample / 8;
  for (size_t i = 0, o = 0; i + width <= data_.size(); i += width, o += 2 * width) {
    std::memcpy(out + o, &data_[i], width);
    std::memcpy(out + o + width, &data_[i], width);
  }
}

bool SoundBuffer::BeginWritingInPlace() {
  if (!data_.empty() || alHoldsSamples_ || !source_ || SentDoubled() || !ds_->Ready()) return false;
  void* memory = nullptr;
  const ALuint buffer =
      ds_->samples().Create(AlFormat(), bytes_, static_cast<ALsizei>(format_.nSamplesPerSec), &memory);
  if (!buffer) return false;
  writing_ = static_cast<BYTE*>(memory);
  std::memset(writing_, SilenceByte(), bytes_);
  alHoldsSamples_ = true;
  uploadPending_ = false;
  Attach(buffer);
  return true;
}

void SoundBuffer::EndWritingInPlace() {
  writing_ = nullptr;
  if (!ds_->Ready()) return;
  // The same sound loaded into another slot plays from the first one's samples.
  const ALuint kept = ds_->samples().Seal(alBuffer_);
  if (kept != alBuffer_) Attach(kept);
}

void SoundBuffer::Attach(ALuint buffer) {
  ALint state = AL_INITIAL, frame = 0;
  alGetSourcei(source_, AL_SOURCE_STATE, &state);
  if (state == AL_PLAYING || state == AL_PAUSED) alGetSourcei(source_, AL_SAMPLE_OFFSET, &frame);
  else frame = static_cast<ALint>(anchorCursor_ / format_.nBlockAlign);
  alSourceStop(source_);
  alSourcei(source_, AL_BUFFER, static_cast<ALint>(buffer));
  if (alBuffer_) ds_->samples().Release(alBuffer_);  // after the source let go of it
  alBuffer_ = buffer;
  alSourceRewind(source_);
  if (frame > 0) alSourcei(source_, AL_SAMPLE_OFFSET, frame);
  if (state == AL_PLAYING) alSourcePlay(source_);
}

ALenum SoundBuffer::AlFormat() const {
  const bool eightBit = format_.wBitsPerSample == 8;
  if (format_.nChannels == 1 && !SentDoubled()) return eightBit ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
  return eightBit ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

}  // namespace corvane::audio

namespace corvane::audio {

void SoundBuffer::FillWithSilence() { data_.assign(bytes_, SilenceByte()); }

bool SoundBuffer::TakeSamplesBack() {
  if (!data_.empty()) return true;
  if (!alHoldsSamples_) {  // nothing written yet, or lost with an old device
    FillWithSilence();
    return true;
  }
  if (!alBuffer_ || !ds_->Ready()) return false;
  const size_t width = format_.wBitsPerSample / 8;
  const bool doubled = SentDoubled();
  std::vector<BYTE> held(doubled ? 2 * size_t(bytes_) : bytes_);
  if (!ReadSamples(alBuffer_, held.size(), held.data())) return false;
  if (!doubled) {
    data_.swap(held);
    return true;
  }
  data_.resize(bytes_);
  for (size_t i = 0, o = 0; i + width <= data_.size(); i += width, o += 2 * width) std::memcpy(&data_[i], &held[o], width);
  return true;
}

}  // namespace corvane::audio
