// Each fuzz input as a file, for the readers that take a path: one file a
// target process (its pid in the name), written again for every input and
// removed when the process ends normally (libFuzzer keeps its own copy of an
// input that crashes).
#pragma once

#include <unistd.h>

#include <cstdio>
#include <set>
#include <string>

struct InputFiles {
  std::set<std::string> paths;
  ~InputFiles() {
    for (const std::string& path : paths) std::remove(path.c_str());
  }
};

// /tmp/corvane-fuzz-PID-NAME holding the `size` bytes at `data`; empty when
// it cannot be written.
inline std::string WriteInputFile(const char* name, const void* data, size_t size) {
  static const std::string prefix = "/tmp/corvane-fuzz-" + std::to_string(getpid()) + "-";
  static InputFiles made;
  const std::string path = prefix + name;
  made.paths.insert(path);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return "";
  const bool written = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && written ? path : "";
}
