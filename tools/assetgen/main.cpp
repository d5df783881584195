// assetgen --out DIR                         writes bmp/, wav/, XFILE/ and the icon under DIR
// assetgen --contact-sheet FILE.png [--data DIR]   lays the textures of DIR out
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "assetgen.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: assetgen --out DIR\n"
               "       assetgen --contact-sheet FILE.png [--data DIR]\n");
  return 2;
}

template <typename F>
void Timed(const char* label, F&& step) {
  auto t0 = std::chrono::steady_clock::now();
  step();
  double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("%s: %.2f s\n", label, s);
}

}  // namespace

int main(int argc, char** argv) {
  std::string outDir, sheetPath, dataDir;
  for (int i = 1; i < argc; ++i) {
    bool hasValue = i + 1 < argc;
    if (!std::strcmp(argv[i], "--out") && hasValue) outDir = argv[++i];
    else if (!std::strcmp(argv[i], "--contact-sheet") && hasValue) sheetPath = argv[++i];
    else if (!std::strcmp(argv[i], "--data") && hasValue) dataDir = argv[++i];
    else return Usage();
  }
  if (outDir.empty() && sheetPath.empty()) return Usage();
  auto t0 = std::chrono::steady_clock::now();
  if (!outDir.empty()) {
    Timed("textures", [&] { GenerateTextures(outDir); });
    Timed("meshes", [&] { GenerateMeshes(outDir); });
    Timed("sounds", [&] { GenerateSounds(outDir); });
    Timed("icon", [&] { GenerateProgramIcon(outDir); });
  }
  // The sheet shows the folder just written unless another one is named.
  if (dataDir.empty()) dataDir = outDir.empty() ? "data" : outDir;
  bool ok = true;
  if (!sheetPath.empty()) Timed("contact sheet", [&] { ok = WriteContactSheet(dataDir, sheetPath); });
  double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("assetgen: done in %.2f s\n", total);
  return ok ? 0 : 1;
}
