// ImportXFile in the web flavour, which has no Assimp: the data build
// converted each .x file into the loader's byte form beside it
// (NAME.x.xfc), read here and checked as the mesh reader's answer is.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "d3dx9/x_file_import.h"

namespace corvane::d3dx9 {

bool ImportXFile(const std::string& path, XFileContents* out, std::string* error) {
  std::FILE* file = std::fopen((path + ".xfc").c_str(), "rb");
  if (!file) {
    *error = std::string("its converted form (.x.xfc) cannot be read: ") + std::strerror(errno);
    return false;
  }
  std::string bytes;
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
  const bool readWhole = !std::ferror(file);
  std::fclose(file);
  if (!readWhole) {
    *error = "its converted form (.x.xfc) cannot be read";
    return false;
  }
  return DeserializeXFile(bytes, out, error);
}

}  // namespace corvane::d3dx9
