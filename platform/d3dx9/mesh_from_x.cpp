// D3DXLoadMeshFromXA: the file taken from its converted form or read in a
// child process (x_file_import.h), one subset per material, the D3DXMATERIAL
// records in one buffer.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/path_lookup.h"
#include "common/startup_marks.h"
#include "d3dx9/mesh_data.h"
#include "d3dx9/x_file_import.h"

namespace {

using corvane::d3dx9::XMaterial;

// One buffer: the D3DXMATERIAL records followed by their texture names.
HRESULT BuildMaterialBuffer(const std::vector<XMaterial>& materials, ID3DXBuffer** out) {
  size_t size = materials.size() * sizeof(D3DXMATERIAL);
  for (const XMaterial& m : materials)
    if (m.hasTexture) size += m.texture.size() + 1;
  ID3DXBuffer* buffer = nullptr;
  const HRESULT hr = D3DXCreateBuffer(DWORD(size), &buffer);
  if (FAILED(hr)) return hr;
  auto* records = static_cast<D3DXMATERIAL*>(buffer->GetBufferPointer());
  char* names = reinterpret_cast<char*>(records + materials.size());
  for (size_t i = 0; i < materials.size(); ++i) {
    records[i].MatD3D = materials[i].material;
    records[i].pTextureFilename = nullptr;
    if (materials[i].hasTexture) {
      std::memcpy(names, materials[i].texture.c_str(), materials[i].texture.size() + 1);
      records[i].pTextureFilename = names;
      names += materials[i].texture.size() + 1;
    }
  }
  *out = buffer;
  return D3D_OK;
}

using corvane::d3dx9::XFileStamp;

// Converted meshes larger than this are not the data build's.
constexpr size_t kMaxConvertedBytes = 64 << 20;

bool StampOf(int fd, XFileStamp* stamp) {
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n == 0;
    stamp->Add(buffer, size_t(n));
  }
}

// A converted file made from another .x is normal (the player replaced the
// mesh) and passes in silence; a damaged one is worth a line, as the player
// may want to rebuild or reinstall, but the game goes on with the import.
bool UseConverted(const std::string& path, const XFileStamp& source, corvane::d3dx9::XFileContents* out) {
  const std::string converted = path + ".xfc";
  std::string bytes, error;
  // None at all is normal: the player's own data set may have only .x files.
  const bool read = corvane::ReadRegularFile(converted, kMaxConvertedBytes, &bytes, &error);
  if (!read && errno == ENOENT) error.clear();
  if (read &&
      corvane::d3dx9::ReadConvertedXFile(bytes, source, out, &error) == corvane::d3dx9::ConvertedXFile::kUsed)
    return true;
  if (!error.empty())
    std::fprintf(stderr, "corvane: converted mesh \"%s\" is damaged (%s); the .x file is imported instead\n",
                 converted.c_str(), error.c_str());
  return false;
}

HRESULT Refuse(const std::string& why, HRESULT hr) {
  corvane::SetLoadError(why);
  return hr;
}

}  // namespace

namespace corvane::d3dx9 {

bool ReadXFile(const char* filename, XFileContents* out, std::string* error) {
  const std::string path = ResolvePath(filename);
  if (path.empty()) {
    *error = "no such file";
    return false;
  }
  // The child process is handed only a regular file: never a folder or a FIFO.
  const int fd = OpenRegularFile(path);
  if (fd < 0) {
    *error = OpenFailureReason(errno);
    return false;
  }
  XFileStamp source;
  const bool stamped = StampOf(fd, &source);
  close(fd);
  if (!(stamped && UseConverted(path, source, out)) && !ImportXFile(path, out, error)) return false;
  BuildAttributeTable(&out->geometry);
  return true;
}

}  // namespace corvane::d3dx9

HRESULT WINAPI D3DXLoadMeshFromXA(const char* filename, DWORD flags, IDirect3DDevice9* device,
                                  ID3DXBuffer** adjacency, ID3DXBuffer** materials,
                                  ID3DXBuffer** effect_instances, DWORD* material_count, ID3DXMesh** mesh) {
  if (!filename || !device || !mesh) return D3DERR_INVALIDCALL;
  const corvane::StartupTimer timer(corvane::StartupPart::Meshes);
  *mesh = nullptr;
  if (adjacency) *adjacency = nullptr;
  if (materials) *materials = nullptr;
  if (effect_instances) *effect_instances = nullptr;
  if (material_count) *material_count = 0;
  corvane::SetLoadError("");

  corvane::d3dx9::XFileContents contents;
  std::string error;
  if (!corvane::d3dx9::ReadXFile(filename, &contents, &error)) return Refuse(error, D3DXERR_INVALIDDATA);
  if (materials) {
    const HRESULT hr = BuildMaterialBuffer(contents.materials, materials);
    if (FAILED(hr)) return Refuse("out of memory", hr);
  }
  if (material_count) *material_count = DWORD(contents.materials.size());
  *mesh = corvane::d3dx9::CreateMesh(device, flags, std::move(contents.geometry));
  return D3D_OK;
}
