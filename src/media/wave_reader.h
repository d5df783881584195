// Reads a RIFF WAVE file through the multimedia file functions: checks the
// header, copies the format, finds the sample data and hands it out on request.
#pragma once

#include <windows.h>
#include <mmsystem.h>

HRESULT OpenWaveFile(const char* fileName, HMMIO* file, WAVEFORMATEX** format, MMCKINFO* riffChunk);
HRESULT ParseWaveHeader(HMMIO file, MMCKINFO* riffChunk, WAVEFORMATEX** format);
HRESULT SeekWaveData(HMMIO file, MMCKINFO* dataChunk, const MMCKINFO* riffChunk);
HRESULT ReadWaveData(HMMIO file, UINT size, BYTE* destination, MMCKINFO* dataChunk, UINT* bytesRead);

// Lives on the stack of one loader call. `file` stays null until an Open
// succeeds, so a reader whose Open failed closes nothing.
struct WaveReader {
  WAVEFORMATEX* format = nullptr;
  HMMIO file = nullptr;
  MMCKINFO dataChunk = {};
  MMCKINFO riffChunk = {};

  WaveReader() = default;
  ~WaveReader();
  WaveReader(const WaveReader&) = delete;
  WaveReader& operator=(const WaveReader&) = delete;

  HRESULT Open(const char* fileName);
  HRESULT Rewind();
  HRESULT Read(UINT size, BYTE* destination, UINT* bytesRead);
  HRESULT Close();
};
