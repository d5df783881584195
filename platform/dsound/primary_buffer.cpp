// The primary buffer (the output format and master volume) and the 3D
// listener obtained from it.
#include "dsound/ds_objects.h"

namespace corvane::audio {

PrimaryBuffer::PrimaryBuffer(DirectSound8* ds, DWORD flags) : ds_(ds), flags_(flags), listener_(this, ds) {
  ds_->AddRef();
}

PrimaryBuffer::~PrimaryBuffer() { ds_->Release(); }

HRESULT PrimaryBuffer::QueryInterface(REFIID riid, void** object) {
  if (riid == IID_IDirectSoundBuffer || IsIUnknown(riid)) return Answer(object, static_cast<IDirectSoundBuffer*>(this));
  if (riid == IID_IDirectSound3DListener && (flags_ & DSBCAPS_CTRL3D))
    return Answer(object, static_cast<IDirectSound3DListener*>(&listener_));
  return Answer(object, nullptr);
}

HRESULT PrimaryBuffer::SetFormat(LPCWAVEFORMATEX format) {
  Trace(this, "SetFormat", "%u %u %u %u", format ? format->wFormatTag : 0u, format ? format->nChannels : 0u,
        format ? format->nSamplesPerSec : 0u, format ? format->wBitsPerSample : 0u);
  if (!format) return DSERR_INVALIDPARAM;
  if (format->wFormatTag != WAVE_FORMAT_PCM || format->nChannels == 0 || format->nSamplesPerSec == 0)
    return DSERR_BADFORMAT;
  // OpenAL mixes at the device's own rate and converts; nothing to change.
  return DS_OK;
}

HRESULT PrimaryBuffer::SetVolume(LONG volume) {
  Trace(this, "SetVolume", "%d", volume);
  if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
  ds_->SetMasterVolume(volume);
  return DS_OK;
}

// The primary buffer always plays; its memory is not the program's to write.
HRESULT PrimaryBuffer::SetCurrentPosition(DWORD) { return DSERR_INVALIDCALL; }
HRESULT PrimaryBuffer::Play(DWORD, DWORD, DWORD) { return DS_OK; }
HRESULT PrimaryBuffer::Stop() { return DS_OK; }
HRESULT PrimaryBuffer::Lock(DWORD, DWORD, LPVOID*, LPDWORD, LPVOID*, LPDWORD, DWORD) { return DSERR_PRIOLEVELNEEDED; }
HRESULT PrimaryBuffer::Unlock(LPVOID, DWORD, LPVOID, DWORD) { return DSERR_INVALIDCALL; }
HRESULT PrimaryBuffer::Restore() { return DS_OK; }

HRESULT Listener::QueryInterface(REFIID riid, void** object) {
  if (riid != IID_IDirectSound3DListener) return SharedRefs::QueryInterface(riid, object);
  if (!object) return E_POINTER;
  AddRef();
  *object = static_cast<IDirectSound3DListener*>(this);
  return S_OK;
}

HRESULT Listener::SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) {
  Trace(this, "SetPosition", "%g %g %g %u", x, y, z, apply);
  ds_->deferredListener().position = {x, y, z};
  if (apply == DS3D_IMMEDIATE) {
    ds_->listener().position = {x, y, z};
    if (ds_->Audible()) ds_->ApplyListener();
  }
  return DS_OK;
}

HRESULT Listener::SetOrientation(D3DVALUE xFront, D3DVALUE yFront, D3DVALUE zFront, D3DVALUE xTop, D3DVALUE yTop,
                                 D3DVALUE zTop, DWORD apply) {
  Trace(this, "SetOrientation", "%g %g %g %g %g %g %u", xFront, yFront, zFront, xTop, yTop, zTop, apply);
  ListenerState& deferred = ds_->deferredListener();
  deferred.front = {xFront, yFront, zFront};
  deferred.top = {xTop, yTop, zTop};
  if (apply == DS3D_IMMEDIATE) {
    ds_->listener().front = deferred.front;
    ds_->listener().top = deferred.top;
    ds_->ApplyListener();
  }
  return DS_OK;
}

HRESULT Listener::SetDistanceFactor(D3DVALUE factor, DWORD apply) {
  Trace(this, "SetDistanceFactor", "%g %u", factor, apply);
  if (!(factor > 0.0f)) return DSERR_INVALIDPARAM;
  ds_->deferredListener().distanceFactor = factor;
  if (apply == DS3D_IMMEDIATE) {
    ds_->listener().distanceFactor = factor;
    ds_->ApplyListener();
  }
  return DS_OK;
}

HRESULT Listener::SetRolloffFactor(D3DVALUE factor, DWORD apply) {
  Trace(this, "SetRolloffFactor", "%g %u", factor, apply);
  if (!(factor >= DS3D_MINROLLOFFFACTOR && factor <= DS3D_MAXROLLOFFFACTOR)) return DSERR_INVALIDPARAM;
  ds_->deferredListener().rolloffFactor = factor;
  if (apply == DS3D_IMMEDIATE) {
    ds_->listener().rolloffFactor = factor;
    ds_->ApplyListener();
  }
  return DS_OK;
}

HRESULT Listener::CommitDeferredSettings() {
  Trace(this, "CommitDeferredSettings");
  ds_->CommitDeferred();
  return DS_OK;
}

}  // namespace corvane::audio
