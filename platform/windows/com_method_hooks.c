// Written in C for the method tables' named members (CINTERFACE): a patched
// slot names the method it replaces instead of counting its place.
#define CINTERFACE
#define COBJMACROS
#include "com_method_hooks.h"

#include <d3d9.h>
#include <dsound.h>

// A few kinds of object per interface (Wine and Windows make primary and
// secondary buffers from different tables); each table is patched once and
// its original methods kept here, found again through the object.
#define MAX_TABLES 4

typedef struct {
  const void* table;
  BOOL primary;  // a primary buffer's table
  IDirectSoundBufferVtbl original;
} BufferTable;

static IDirect3D9Vtbl originalDirect3D;
static const void* direct3DTable;
static IDirect3DDevice9Vtbl originalDevice;
static const void* deviceTable;
static IDirectSound8Vtbl originalDirectSound;
static const void* directSoundTable;
static BufferTable bufferTables[MAX_TABLES];
static int bufferTableCount;
static IDirectSound3DBufferVtbl original3DBuffer;
static const void* buffer3DTable;
static IDirectSound3DListenerVtbl originalListener;
static const void* listenerTable;

// Method tables live in read-only memory; one slot is opened for writing.
static void WriteSlot(void* slot, void* hook) {
  DWORD old;
  if (!VirtualProtect(slot, sizeof(void*), PAGE_EXECUTE_READWRITE, &old)) return;
  *(void**)slot = hook;
  VirtualProtect(slot, sizeof(void*), old, &old);
}

#define PATCH(table, member, hook) WriteSlot((void*)&(table)->member, (void*)(hook))

// ---------------------------------------------------------------------------
// Direct3D: the device's Present counts and captures the frames.

static HRESULT WINAPI HookPresent(IDirect3DDevice9* self, const RECT* source, const RECT* dest, HWND window,
                                  const RGNDATA* dirty) {
  CorvaneBeforePresent(self);
  CorvaneDrawNote(self);
  HRESULT hr = originalDevice.Present(self, source, dest, window, dirty);
  CorvaneAfterPresent();
  return hr;
}

static HRESULT WINAPI HookCreateDevice(IDirect3D9* self, UINT adapter, D3DDEVTYPE type, HWND window, DWORD flags,
                                       D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) {
  HRESULT hr = originalDirect3D.CreateDevice(self, adapter, type, window, flags, parameters, device);
  if (SUCCEEDED(hr) && device && *device && !deviceTable) {
    IDirect3DDevice9Vtbl* table = (*device)->lpVtbl;
    deviceTable = table;
    originalDevice = *table;
    PATCH(table, Present, HookPresent);
  }
  return hr;
}

void HookDirect3D(void* direct3d9) {
  IDirect3D9* d3d = (IDirect3D9*)direct3d9;
  if (!d3d || direct3DTable) return;
  IDirect3D9Vtbl* table = d3d->lpVtbl;
  direct3DTable = table;
  originalDirect3D = *table;
  PATCH(table, CreateDevice, HookCreateDevice);
}

// ---------------------------------------------------------------------------
// DirectSound: each call the trace lists is written, then made.

static const BufferTable* FindBufferTable(const void* object) {
  const void* table = *(const void* const*)object;
  for (int i = 0; i < bufferTableCount; ++i)
    if (bufferTables[i].table == table) return &bufferTables[i];
  return NULL;
}

#define BUFFER(self) (&FindBufferTable(self)->original)
// The trace lists a primary buffer's format and volume only.
#define TRACE_SECONDARY(self, ...) \
  if (!FindBufferTable(self)->primary) CorvaneTraceSoundCall(self, __VA_ARGS__)

static void Hook3DBuffer(IDirectSound3DBuffer* buffer);
static void HookListener(IDirectSound3DListener* listener);

static HRESULT WINAPI BufferQueryInterface(IDirectSoundBuffer* self, REFIID riid, void** object) {
  HRESULT hr = BUFFER(self)->QueryInterface(self, riid, object);
  if (FAILED(hr) || !object || !*object) return hr;
  if (IsEqualGUID(riid, &IID_IDirectSound3DBuffer)) Hook3DBuffer((IDirectSound3DBuffer*)*object);
  if (IsEqualGUID(riid, &IID_IDirectSound3DListener)) HookListener((IDirectSound3DListener*)*object);
  return hr;
}

// A buffer is traced as released when its last reference goes.
static ULONG WINAPI BufferRelease(IDirectSoundBuffer* self) {
  const BufferTable* saved = FindBufferTable(self);
  ULONG left = saved->original.Release(self);
  if (left == 0 && !saved->primary) {
    CorvaneTraceSoundCall(self, "Release", "");
    CorvaneForgetBuffer(self);
  }
  return left;
}

static HRESULT WINAPI BufferSetFormat(IDirectSoundBuffer* self, const WAVEFORMATEX* format) {
  CorvaneTraceSoundCall(self, "SetFormat", "%u %u %u %u", format ? format->wFormatTag : 0u,
                        format ? format->nChannels : 0u, format ? (unsigned)format->nSamplesPerSec : 0u,
                        format ? format->wBitsPerSample : 0u);
  return BUFFER(self)->SetFormat(self, format);
}

static HRESULT WINAPI BufferSetVolume(IDirectSoundBuffer* self, LONG volume) {
  CorvaneTraceSoundCall(self, "SetVolume", "%d", (int)volume);
  return BUFFER(self)->SetVolume(self, FindBufferTable(self)->primary ? volume : CorvaneBufferVolume(self, volume));
}

BOOL IsSecondaryBuffer(const void* object) {
  const BufferTable* saved = object ? FindBufferTable(object) : NULL;
  return saved && !saved->primary;
}

HRESULT SetVolumeUntraced(void* buffer, LONG volume) {
  IDirectSoundBuffer* self = (IDirectSoundBuffer*)buffer;
  return BUFFER(self)->SetVolume(self, volume);
}

static HRESULT WINAPI BufferSetCurrentPosition(IDirectSoundBuffer* self, DWORD position) {
  TRACE_SECONDARY(self, "SetCurrentPosition", "%u", (unsigned)position);
  return BUFFER(self)->SetCurrentPosition(self, position);
}

static HRESULT WINAPI BufferPlay(IDirectSoundBuffer* self, DWORD reserved, DWORD priority, DWORD flags) {
  TRACE_SECONDARY(self, "Play", "%u %u %u", (unsigned)reserved, (unsigned)priority, (unsigned)flags);
  return BUFFER(self)->Play(self, reserved, priority, flags);
}

static HRESULT WINAPI BufferStop(IDirectSoundBuffer* self) {
  TRACE_SECONDARY(self, "Stop", "");
  return BUFFER(self)->Stop(self);
}

static HRESULT WINAPI BufferLock(IDirectSoundBuffer* self, DWORD offset, DWORD bytes, void** region1,
                                 DWORD* bytes1, void** region2, DWORD* bytes2, DWORD flags) {
  TRACE_SECONDARY(self, "Lock", "%u %u %u", (unsigned)offset, (unsigned)bytes, (unsigned)flags);
  return BUFFER(self)->Lock(self, offset, bytes, region1, bytes1, region2, bytes2, flags);
}

static HRESULT WINAPI BufferUnlock(IDirectSoundBuffer* self, void* region1, DWORD bytes1, void* region2,
                                   DWORD bytes2) {
  TRACE_SECONDARY(self, "Unlock", "%u %u", (unsigned)bytes1, (unsigned)bytes2);
  return BUFFER(self)->Unlock(self, region1, bytes1, region2, bytes2);
}

static HRESULT WINAPI BufferRestore(IDirectSoundBuffer* self) {
  TRACE_SECONDARY(self, "Restore", "");
  return BUFFER(self)->Restore(self);
}

static void HookBuffer(IDirectSoundBuffer* buffer, BOOL primary) {
  if (FindBufferTable(buffer) || bufferTableCount == MAX_TABLES) return;
  IDirectSoundBufferVtbl* table = buffer->lpVtbl;
  BufferTable* saved = &bufferTables[bufferTableCount++];
  saved->table = table;
  saved->primary = primary;
  saved->original = *table;
  PATCH(table, QueryInterface, BufferQueryInterface);
  PATCH(table, Release, BufferRelease);
  PATCH(table, SetFormat, BufferSetFormat);
  PATCH(table, SetVolume, BufferSetVolume);
  PATCH(table, SetCurrentPosition, BufferSetCurrentPosition);
  PATCH(table, Play, BufferPlay);
  PATCH(table, Stop, BufferStop);
  PATCH(table, Lock, BufferLock);
  PATCH(table, Unlock, BufferUnlock);
  PATCH(table, Restore, BufferRestore);
}

static HRESULT WINAPI Buffer3DSetPosition(IDirectSound3DBuffer* self, D3DVALUE x, D3DVALUE y, D3DVALUE z,
                                          DWORD apply) {
  CorvaneTraceSoundCall(self, "SetPosition", "%g %g %g %u", x, y, z, (unsigned)apply);
  return original3DBuffer.SetPosition(self, x, y, z, apply);
}

static void Hook3DBuffer(IDirectSound3DBuffer* buffer) {
  if (buffer3DTable) return;
  IDirectSound3DBufferVtbl* table = buffer->lpVtbl;
  buffer3DTable = table;
  original3DBuffer = *table;
  PATCH(table, SetPosition, Buffer3DSetPosition);
}

static HRESULT WINAPI ListenerSetPosition(IDirectSound3DListener* self, D3DVALUE x, D3DVALUE y, D3DVALUE z,
                                          DWORD apply) {
  CorvaneTraceSoundCall(self, "SetPosition", "%g %g %g %u", x, y, z, (unsigned)apply);
  return originalListener.SetPosition(self, x, y, z, apply);
}

static HRESULT WINAPI ListenerSetOrientation(IDirectSound3DListener* self, D3DVALUE xFront, D3DVALUE yFront,
                                             D3DVALUE zFront, D3DVALUE xTop, D3DVALUE yTop, D3DVALUE zTop,
                                             DWORD apply) {
  CorvaneTraceSoundCall(self, "SetOrientation", "%g %g %g %g %g %g %u", xFront, yFront, zFront, xTop, yTop, zTop,
                        (unsigned)apply);
  return originalListener.SetOrientation(self, xFront, yFront, zFront, xTop, yTop, zTop, apply);
}

static HRESULT WINAPI ListenerSetDistanceFactor(IDirectSound3DListener* self, D3DVALUE factor, DWORD apply) {
  CorvaneTraceSoundCall(self, "SetDistanceFactor", "%g %u", factor, (unsigned)apply);
  return originalListener.SetDistanceFactor(self, factor, apply);
}

static HRESULT WINAPI ListenerSetRolloffFactor(IDirectSound3DListener* self, D3DVALUE factor, DWORD apply) {
  CorvaneTraceSoundCall(self, "SetRolloffFactor", "%g %u", factor, (unsigned)apply);
  return originalListener.SetRolloffFactor(self, factor, apply);
}

static HRESULT WINAPI ListenerCommitDeferredSettings(IDirectSound3DListener* self) {
  CorvaneTraceSoundCall(self, "CommitDeferredSettings", "");
  return originalListener.CommitDeferredSettings(self);
}

static void HookListener(IDirectSound3DListener* listener) {
  if (listenerTable) return;
  IDirectSound3DListenerVtbl* table = listener->lpVtbl;
  listenerTable = table;
  originalListener = *table;
  PATCH(table, SetPosition, ListenerSetPosition);
  PATCH(table, SetOrientation, ListenerSetOrientation);
  PATCH(table, SetDistanceFactor, ListenerSetDistanceFactor);
  PATCH(table, SetRolloffFactor, ListenerSetRolloffFactor);
  PATCH(table, CommitDeferredSettings, ListenerCommitDeferredSettings);
}

static HRESULT WINAPI SoundCreateSoundBuffer(IDirectSound8* self, const DSBUFFERDESC* desc,
                                             IDirectSoundBuffer** buffer, IUnknown* outer) {
  CorvaneTraceSoundCall(self, "CreateSoundBuffer", "0x%X %u", desc ? (unsigned)desc->dwFlags : 0u,
                        desc ? (unsigned)desc->dwBufferBytes : 0u);
  HRESULT hr = originalDirectSound.CreateSoundBuffer(self, desc, buffer, outer);
  if (SUCCEEDED(hr) && buffer && *buffer) HookBuffer(*buffer, (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) != 0);
  return hr;
}

static HRESULT WINAPI SoundSetCooperativeLevel(IDirectSound8* self, HWND window, DWORD level) {
  CorvaneTraceSoundCall(self, "SetCooperativeLevel", "%u", (unsigned)level);
  return originalDirectSound.SetCooperativeLevel(self, window, level);
}

void HookDirectSound(void* directSound8) {
  IDirectSound8* sound = (IDirectSound8*)directSound8;
  if (!sound || directSoundTable) return;
  IDirectSound8Vtbl* table = sound->lpVtbl;
  directSoundTable = table;
  originalDirectSound = *table;
  PATCH(table, CreateSoundBuffer, SoundCreateSoundBuffer);
  PATCH(table, SetCooperativeLevel, SoundSetCooperativeLevel);
}
