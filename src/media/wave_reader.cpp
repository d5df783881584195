// RIFF WAVE reading over the multimedia file functions.
#include "media/wave_reader.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr DWORD PCM_FIELDS_SIZE = 16;  // WAVEFORMATEX up to and including wBitsPerSample

void FreeFormat(WAVEFORMATEX** format) {
  std::free(*format);
  *format = nullptr;
}

}  // namespace

HRESULT OpenWaveFile(const char* fileName, HMMIO* file, WAVEFORMATEX** format, MMCKINFO* riffChunk) {
  // mmioOpenA takes a non-const name but does not write to it.
  HMMIO handle = mmioOpenA(const_cast<LPSTR>(fileName), nullptr, MMIO_ALLOCBUF | MMIO_READ);
  if (!handle) return E_FAIL;
  HRESULT hr = ParseWaveHeader(handle, riffChunk, format);
  if (FAILED(hr)) {
    mmioClose(handle, 0);
    return hr;
  }
  *file = handle;
  return S_OK;
}

HRESULT ParseWaveHeader(HMMIO file, MMCKINFO* riffChunk, WAVEFORMATEX** format) {
  *format = nullptr;
  if (mmioDescend(file, riffChunk, nullptr, 0) != 0) return E_FAIL;
  if (riffChunk->ckid != FOURCC_RIFF || riffChunk->fccType != mmioFOURCC('W', 'A', 'V', 'E'))
    return E_FAIL;

  MMCKINFO chunk = {};
  chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
  if (mmioDescend(file, &chunk, riffChunk, MMIO_FINDCHUNK) != 0) return E_FAIL;
  if (chunk.cksize < PCM_FIELDS_SIZE) return E_FAIL;

  BYTE fields[PCM_FIELDS_SIZE];
  if (mmioRead(file, reinterpret_cast<HPSTR>(fields), PCM_FIELDS_SIZE) != static_cast<LONG>(PCM_FIELDS_SIZE))
    return E_FAIL;
  WORD tag = static_cast<WORD>(fields[0] | (fields[1] << 8));

  WORD extra = 0;
  if (tag != WAVE_FORMAT_PCM) {
    BYTE count[2] = {0, 0};
    if (mmioRead(file, reinterpret_cast<HPSTR>(count), 2) != 2) return E_FAIL;
    extra = static_cast<WORD>(count[0] | (count[1] << 8));
  }
  *format = static_cast<WAVEFORMATEX*>(std::malloc(sizeof(WAVEFORMATEX) + extra));
  if (!*format) return E_FAIL;
  std::memcpy(*format, fields, PCM_FIELDS_SIZE);
  (*format)->cbSize = extra;
  if (extra > 0) {
    HPSTR extraBytes = reinterpret_cast<HPSTR>(*format) + sizeof(WAVEFORMATEX);
    if (mmioRead(file, extraBytes, extra) != extra) {
      FreeFormat(format);
      return E_FAIL;
    }
  }
  if (mmioAscend(file, &chunk, 0) != 0) {
    FreeFormat(format);
    return E_FAIL;
  }
  return S_OK;
}

HRESULT SeekWaveData(HMMIO file, MMCKINFO* dataChunk, const MMCKINFO* riffChunk) {
  // Back to the byte after the form type, so "data" is found before or after "fmt ".
  if (mmioSeek(file, static_cast<LONG>(riffChunk->dwDataOffset + 4), SEEK_SET) == -1) return E_FAIL;
  dataChunk->ckid = mmioFOURCC('d', 'a', 't', 'a');
  if (mmioDescend(file, dataChunk, riffChunk, MMIO_FINDCHUNK) != 0) return E_FAIL;
  // A data chunk claiming more than the file holds is damage: refused here,
  // before anyone sizes a buffer by it.
  const LONG fileSize = mmioSeek(file, 0, SEEK_END);
  if (fileSize == -1 || dataChunk->dwDataOffset > DWORD(fileSize) ||
      dataChunk->cksize > DWORD(fileSize) - dataChunk->dwDataOffset)
    return E_FAIL;
  if (mmioSeek(file, static_cast<LONG>(dataChunk->dwDataOffset), SEEK_SET) == -1) return E_FAIL;
  return S_OK;
}

HRESULT ReadWaveData(HMMIO file, UINT size, BYTE* destination, MMCKINFO* dataChunk, UINT* bytesRead) {
  *bytesRead = 0;
  MMIOINFO info;
  if (mmioGetInfo(file, &info, 0) != 0) return E_FAIL;

  UINT n = size < dataChunk->cksize ? size : dataChunk->cksize;
  dataChunk->cksize -= n;
  // What the I/O buffer already holds, then the rest in one read: music
  // loops are megabytes, and a read that large goes straight to the file.
  UINT buffered = static_cast<UINT>(info.pchEndRead - info.pchNext);
  if (buffered > n) buffered = n;
  if (buffered > 0) std::memcpy(destination, info.pchNext, buffered);
  info.pchNext += buffered;
  if (mmioSetInfo(file, &info, 0) != 0) return E_FAIL;
  const LONG rest = static_cast<LONG>(n - buffered);
  if (rest > 0 && mmioRead(file, reinterpret_cast<HPSTR>(destination + buffered), rest) != rest)
    return E_FAIL;  // the file ended inside the chunk
  *bytesRead = n;
  return S_OK;
}

WaveReader::~WaveReader() {
  Close();
  std::free(format);
  format = nullptr;
}

HRESULT WaveReader::Open(const char* fileName) {
  std::free(format);
  format = nullptr;
  Close();  // a reader opened twice must not leak its first file
  HRESULT hr = OpenWaveFile(fileName, &file, &format, &riffChunk);
  if (FAILED(hr)) return hr;
  return Rewind();
}

HRESULT WaveReader::Rewind() {
  return SeekWaveData(file, &dataChunk, &riffChunk);
}

HRESULT WaveReader::Read(UINT size, BYTE* destination, UINT* bytesRead) {
  return ReadWaveData(file, size, destination, &dataChunk, bytesRead);
}

HRESULT WaveReader::Close() {
  if (file) {
    mmioClose(file, 0);
    file = nullptr;
  }
  return S_OK;
}
