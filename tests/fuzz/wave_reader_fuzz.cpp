// libFuzzer target: any bytes as a WAV file through the game's reader, the
// way the sound loader uses it (open, then read the whole data chunk).
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "media/wave_reader.h"
#include "input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteInputFile("input.wav", data, size);
  if (path.empty()) return 0;

  WaveReader reader;
  if (reader.Open(path.c_str()) != S_OK) return 0;
  // Stay within what a small file could hold; the reader must stop at its end.
  UINT want = reader.dataChunk.cksize < (1u << 20) ? reader.dataChunk.cksize : (1u << 20);
  std::vector<BYTE> out(want);
  UINT got = 0;
  reader.Read(want / 2, out.data(), &got);
  reader.Read(want - want / 2, out.data() + want / 2, &got);
  reader.Rewind();
  return 0;
}
