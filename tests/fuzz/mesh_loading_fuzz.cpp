// libFuzzer target: any bytes as a .x file through the mesh loader's reading
// (the child process that runs Assimp, and this side's checks of its answer).
// Before fuzzing it reads the files known to crash Assimp in-process: this
// process surviving them, and every input after, shows that a crash inside
// Assimp cannot reach the game.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "d3dx9/x_file_import.h"
#include "hostile_x_files.h"
#include "input_file.h"

namespace {

// Reads the file and walks every face's indices, as drawing would.
bool ReadAndTouch(const std::string& path, std::string* error) {
  corvane::d3dx9::XFileContents contents;
  if (!corvane::d3dx9::ReadXFile(path.c_str(), &contents, error)) return false;
  const corvane::d3dx9::MeshData& g = contents.geometry;
  float sum = 0;
  for (uint32_t index : g.indices) sum += g.vertices.at(index).x;
  for (const D3DXATTRIBUTERANGE& r : g.ranges) {
    if (r.FaceStart + r.FaceCount > g.attributes.size() || r.AttribId >= contents.materials.size()) std::abort();
  }
  static volatile float sink;
  sink = sum;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  for (const auto& [name, text] : HostileXFiles()) {
    std::string error;
    const std::string path = WriteInputFile("input.x", text.data(), text.size());
    if (path.empty() || ReadAndTouch(path, &error)) {
      std::fprintf(stderr, "mesh fuzz: %s was not refused\n", name.c_str());
      std::abort();
    }
    std::fprintf(stderr, "mesh fuzz: %s refused: %s\n", name.c_str(), error.c_str());
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteInputFile("input.x", data, size);
  if (path.empty()) return 0;
  std::string error;
  ReadAndTouch(path, &error);
  return 0;
}
