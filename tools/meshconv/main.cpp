// meshconv DATA_DIR: each mesh DATA_DIR/XFILE/NAME.x, read by the import the
// game itself uses, written beside it as NAME.x.xfc in the mesh loader's
// converted form, stamped with the .x file it was made from. The game reads
// those instead of starting an import, and builds without Assimp (the web
// build) read nothing else, so every build draws the same geometry. The
// output depends on the .x file alone: the same data set always converts to
// the same bytes.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "d3dx9/x_file_import.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> MeshesIn(const fs::path& folder, std::error_code& ec) {
  std::vector<fs::path> meshes;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (it->path().extension() == ".x" && it->is_regular_file()) meshes.push_back(it->path());
  std::sort(meshes.begin(), meshes.end());
  return meshes;
}

// Written whole or not at all: a reader never sees half a file.
bool StampOf(const fs::path& path, corvane::d3dx9::XFileStamp* stamp) {
  std::ifstream in(path, std::ios::binary);
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) stamp->Add(buffer, size_t(in.gcount()));
  return in.eof() && !in.bad();
}

bool WriteWhole(const fs::path& path, const std::string& bytes) {
  const fs::path part = path.string() + ".part";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), std::streamsize(bytes.size())) || !out.flush()) return false;
  }
  std::error_code ec;
  fs::rename(part, path, ec);
  return !ec;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: meshconv DATA_DIR\n");
    return 2;
  }
  const fs::path folder = fs::path(argv[1]) / "XFILE";
  std::error_code ec;
  const std::vector<fs::path> meshes = MeshesIn(folder, ec);
  if (ec || meshes.empty()) {
    std::fprintf(stderr, "meshconv: no .x files in %s%s%s\n", folder.c_str(), ec ? ": " : "",
                 ec ? ec.message().c_str() : "");
    return 1;
  }
  for (const fs::path& mesh : meshes) {
    corvane::d3dx9::XFileContents contents;
    corvane::d3dx9::XFileStamp source;
    std::string error;
    if (!StampOf(mesh, &source)) {
      std::fprintf(stderr, "meshconv: cannot read %s\n", mesh.c_str());
      return 1;
    }
    if (!corvane::d3dx9::ImportXFile(mesh.string(), &contents, &error)) {
      std::fprintf(stderr, "meshconv: %s: %s\n", mesh.c_str(), error.c_str());
      return 1;
    }
    const fs::path converted = mesh.string() + ".xfc";
    if (!WriteWhole(converted, corvane::d3dx9::ConvertXFile(source, contents))) {
      std::fprintf(stderr, "meshconv: cannot write %s\n", converted.c_str());
      return 1;
    }
    std::printf("XFILE/%s  %zu vertices, %zu faces, %zu materials\n", converted.filename().c_str(),
                contents.geometry.vertices.size(), contents.geometry.attributes.size(), contents.materials.size());
  }
  return 0;
}
