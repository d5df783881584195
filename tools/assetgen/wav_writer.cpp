#include "wav_writer.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

int16_t ToPcm16(float s) {
  double v = std::nearbyint(static_cast<double>(s) * 32767.0);
  if (v > 32767.0) v = 32767.0;
  if (v < -32767.0) v = -32767.0;
  return static_cast<int16_t>(v);
}

}  // namespace

std::vector<uint8_t> EncodeWav(const std::vector<float>& samples, int channels) {
  const uint32_t rate = 44100;
  const uint32_t blockAlign = 2u * static_cast<uint32_t>(channels);
  const uint32_t frames = static_cast<uint32_t>(samples.size() / channels);
  const uint32_t dataBytes = frames * blockAlign;
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  PutTag(out, "RIFF");
  Put32(out, 36 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, static_cast<uint32_t>(channels));
  Put32(out, rate);
  Put32(out, rate * blockAlign);
  Put16(out, blockAlign);
  Put16(out, 16);
  PutTag(out, "data");
  Put32(out, dataBytes);
  for (size_t i = 0; i < static_cast<size_t>(frames) * channels; ++i)
    Put16(out, static_cast<uint16_t>(ToPcm16(samples[i])));
  return out;
}

bool WriteWav(const std::string& path, const std::vector<float>& samples, int channels) {
  std::error_code ec;
  std::filesystem::path file(path);
  std::filesystem::create_directories(file.parent_path(), ec);
  std::vector<uint8_t> bytes = EncodeWav(samples, channels);
  std::ofstream stream(file, std::ios::binary | std::ios::trunc);
  stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!stream) {
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}
