// WAV files into DirectSound buffers.
#include "media/sound_loader.h"

#include <cstdio>
#include <cstring>

#include "app/app_state.h"
#include "app/asset_catalogue.h"
#include "media/wave_reader.h"

namespace {

// The stand-in for a sound that could not be loaded: a short silent buffer,
// so that every Play, Stop and Release on the slot still works.
constexpr DWORD SILENT_BUFFER_BYTES = 1024;

void DescribeBuffer(DSBUFFERDESC* desc, DWORD flags, const GUID& algorithm, DWORD bytes, WAVEFORMATEX* format) {
  std::memset(desc, 0, sizeof(DSBUFFERDESC));
  desc->dwSize = sizeof(DSBUFFERDESC);  // 36 in a 32-bit program
  desc->dwFlags = flags;
  desc->dwBufferBytes = bytes;
  desc->lpwfxFormat = format;
  desc->guid3DAlgorithm = algorithm;
}

// CreateSoundBuffer, then the IDirectSoundBuffer8 interface straight into the slot.
HRESULT CreateSlotBuffer(IDirectSoundBuffer8** slot, const DSBUFFERDESC& desc) {
  *slot = nullptr;
  if (!Audio.directSound) return E_FAIL;
  IDirectSoundBuffer* temporary = nullptr;
  HRESULT hr = Audio.directSound->CreateSoundBuffer(&desc, &temporary, nullptr);
  if (FAILED(hr) || !temporary) return FAILED(hr) ? hr : E_FAIL;
  hr = temporary->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<void**>(slot));
  temporary->Release();
  return hr;
}

void LoadSilentBuffer(IDirectSoundBuffer8** slot, DWORD flags, const GUID& algorithm) {
  WAVEFORMATEX format = {};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = 44100;
  format.wBitsPerSample = 16;
  format.nBlockAlign = 2;
  format.nAvgBytesPerSec = 88200;
  DSBUFFERDESC desc;
  DescribeBuffer(&desc, flags, algorithm, SILENT_BUFFER_BYTES, &format);
  if (FAILED(CreateSlotBuffer(slot, desc))) return;
  void* region1 = nullptr;
  void* region2 = nullptr;
  DWORD bytes1 = 0, bytes2 = 0;
  if (SUCCEEDED((*slot)->Lock(0, SILENT_BUFFER_BYTES, &region1, &bytes1, &region2, &bytes2, 0))) {
    if (region1) std::memset(region1, 0, bytes1);
    if (region2) std::memset(region2, 0, bytes2);
    (*slot)->Unlock(region1, bytes1, region2, bytes2);
  }
}

void LoadBuffer(IDirectSoundBuffer8** slot, const char* fileName, DWORD flags, const GUID& algorithm) {
  *slot = nullptr;
  if (!Audio.directSound) return;  // no sound device: said once at start-up
  WaveReader reader;
  if (FAILED(reader.Open(fileName))) {
    // A missing file is named by the catalogue, which knows every name it tried.
    if (AssetFileExists(fileName)) ReportAssetFailure("sound", fileName, "", "it stays silent");
    LoadSilentBuffer(slot, flags, algorithm);
    return;
  }
  DSBUFFERDESC desc;
  DescribeBuffer(&desc, flags, algorithm, reader.dataChunk.cksize, reader.format);
  if (FAILED(CreateSlotBuffer(slot, desc))) {
    std::fprintf(stderr, "corvane: sound \"%s\" has a format that cannot be played; it stays silent\n", fileName);
    LoadSilentBuffer(slot, flags, algorithm);
    return;
  }

  void* region1 = nullptr;
  void* region2 = nullptr;
  DWORD bytes1 = 0, bytes2 = 0;
  HRESULT hr = (*slot)->Lock(0, desc.dwBufferBytes, &region1, &bytes1, &region2, &bytes2, 0);
  if (hr == DSERR_BUFFERLOST) {
    (*slot)->Restore();
    hr = (*slot)->Lock(0, desc.dwBufferBytes, &region1, &bytes1, &region2, &bytes2, 0);
  }
  if (FAILED(hr)) return;  // the buffer stays as it was made: silent

  UINT got = 0;
  bool complete = SUCCEEDED(reader.Read(bytes1, static_cast<BYTE*>(region1), &got)) && got == bytes1;
  if (bytes2 != 0) complete = SUCCEEDED(reader.Read(bytes2, static_cast<BYTE*>(region2), &got)) && complete;
  if (!complete) std::fprintf(stderr, "corvane: sound \"%s\" ends early; the rest stays silent\n", fileName);
  (*slot)->Unlock(region1, bytes1, region2, bytes2);
}

}  // namespace

void LoadSound(IDirectSoundBuffer8** slot, const char* fileName) {
  const GUID defaultAlgorithm = {};  // GUID_NULL: the plain mixer
  LoadBuffer(slot, fileName, SOUND_BUFFER_FLAGS, defaultAlgorithm);
}

void LoadSound3D(IDirectSoundBuffer8** slot, const char* fileName) {
  LoadBuffer(slot, fileName, SOUND_BUFFER_3D_FLAGS, DS3DALG_NO_VIRTUALIZATION);
}
