// A .x file read into the game's mesh layout, and the two ways of reading it:
// Assimp in this process (only for the child below), or Assimp in a
// short-lived child process whose crash, hang or appetite cannot reach the game.
#pragma once

#include <d3dx9.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "d3dx9/mesh_data.h"

namespace corvane::d3dx9 {

struct XMaterial {
  D3DMATERIAL9 material;
  std::string texture;  // as written in the file
  bool hasTexture = false;
};

struct XFileContents {
  MeshData geometry;  // vertices, indices and attributes; no ranges yet
  std::vector<XMaterial> materials;
};

// Assimp in this process. Only safe for trusted files.
bool ImportXFileInProcess(const std::string& path, XFileContents* out, std::string* error);

// Assimp in a child process limited in memory, stack and time; the result
// comes back through a pipe and is checked again here. A child that crashes,
// runs out of memory or time, or answers nonsense is a refused file.
bool ImportXFile(const std::string& path, XFileContents* out, std::string* error);

// A .x file by its Windows name, as D3DXLoadMeshFromXA reads it: a regular
// file, taken from its converted form NAME.x.xfc when that was made from
// exactly this file, else imported through the child; its subset table built.
bool ReadXFile(const char* filename, XFileContents* out, std::string* error);

// The byte form the child sends back (x_file_bytes.cpp), and its checked
// reading. A refusal carries the reason instead of a mesh.
std::string SerializeXFile(const XFileContents& contents);
std::string SerializeXFileRefusal(const std::string& why);
bool DeserializeXFile(const std::string& bytes, XFileContents* out, std::string* error);

// What a converted file (NAME.x.xfc) was made from: the size and a 64-bit
// hash of the .x file's bytes, fed in pieces.
struct XFileStamp {
  XFileStamp();
  void Add(const char* data, size_t count);
  uint64_t size = 0;
  uint64_t hash;
};

// The converted form: a header with the source's stamp and a checksum of the
// body, then the byte form above. The data build writes it beside each mesh.
std::string ConvertXFile(const XFileStamp& source, const XFileContents& contents);

// kOtherSource (made from another .x: normal after a mesh is replaced) and
// kDamaged (*error says why) both mean: import the .x instead.
enum class ConvertedXFile { kUsed, kOtherSource, kDamaged };
ConvertedXFile ReadConvertedXFile(const std::string& bytes, const XFileStamp& source, XFileContents* out,
                                  std::string* error);

}  // namespace corvane::d3dx9
