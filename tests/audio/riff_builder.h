// Builds RIFF WAVE files byte by byte for the audio tests, and writes them to
// a scratch folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/files.h"

namespace riff {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, uint32_t v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
inline void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
inline void PutId(Bytes& b, const char* id) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(id[i]));
}

// One chunk: id, size, body, and the pad byte when the body is odd.
inline Bytes Chunk(const char* id, const Bytes& body, bool pad = true) {
  Bytes b;
  PutId(b, id);
  Put32(b, static_cast<uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  if (pad && (body.size() & 1)) b.push_back(0);
  return b;
}

// The outer chunk around the given chunks.
inline Bytes Riff(const std::vector<Bytes>& chunks, const char* form = "WAVE", const char* id = "RIFF") {
  Bytes body;
  PutId(body, form);
  for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
  return Chunk(id, body);
}

// The 16 bytes every "fmt " chunk starts with.
inline Bytes FormatFields(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  Bytes b;
  uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  Put16(b, tag);
  Put16(b, channels);
  Put32(b, rate);
  Put32(b, rate * align);
  Put16(b, align);
  Put16(b, bits);
  return b;
}

inline Bytes PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
  return Chunk("fmt ", FormatFields(1, channels, rate, bits));
}

inline Bytes Samples16(const std::vector<int16_t>& s) {
  Bytes b;
  for (int16_t v : s) Put16(b, static_cast<uint16_t>(v));
  return b;
}

// The suite's scratch folder, made on first use.
inline const std::string& ScratchDir() {
  static const std::string dir = MakeScratchDir("audio");
  return dir;
}

inline std::string WriteFile(const std::string& name, const Bytes& bytes) {
  std::string path = ScratchDir() + "/" + name;
  WriteBytes(path, bytes);
  return path;
}

}  // namespace riff
