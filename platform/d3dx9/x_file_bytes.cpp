// The loader's byte form of a .x file: what the mesh reader's child sends
// back, and the .x.xfc files the data build converts each mesh into.
#include <cstring>
#include <string>

#include "d3dx9/x_file_import.h"

namespace corvane::d3dx9 {
namespace {

constexpr uint32_t kMagic = 0x58464331;  // "XFC1"

// --- byte form: little helpers over a string ---------------------------

template <typename T>
void Put(std::string* out, const T& value) {
  out->append(reinterpret_cast<const char*>(&value), sizeof(T));
}

template <typename T>
void PutArray(std::string* out, const std::vector<T>& values) {
  out->append(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T));
}

class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}
  template <typename T>
  bool Get(T* value) {
    if (sizeof(T) > bytes_.size() - pos_) return false;
    std::memcpy(value, bytes_.data() + pos_, sizeof(T));
    pos_ += sizeof(T);
    return true;
  }
  template <typename T>
  bool GetArray(std::vector<T>* values, uint64_t count) {
    if (count > (bytes_.size() - pos_) / sizeof(T)) return false;  // bounded by what arrived
    values->resize(size_t(count));
    std::memcpy(values->data(), bytes_.data() + pos_, size_t(count) * sizeof(T));
    pos_ += size_t(count) * sizeof(T);
    return true;
  }
  bool GetString(std::string* value, uint32_t length) {
    if (length > bytes_.size() - pos_) return false;
    value->assign(bytes_.data() + pos_, length);
    pos_ += length;
    return true;
  }
  bool AtEnd() const { return pos_ == bytes_.size(); }

 private:
  const std::string& bytes_;
  size_t pos_ = 0;
};

bool Fail(std::string* error, const char* why) {
  *error = why;
  return false;
}

bool GeometryIsSound(const XFileContents& c, std::string* error) {
  const MeshData& g = c.geometry;
  if (g.attributes.empty() || g.indices.size() != g.attributes.size() * 3) return Fail(error, "no triangles");
  for (uint32_t index : g.indices)
    if (index >= g.vertices.size()) return Fail(error, "face index out of range");
  for (size_t f = 0; f < g.attributes.size(); ++f) {
    if (g.attributes[f] >= c.materials.size()) return Fail(error, "mesh refers to a missing material");
    if (f > 0 && g.attributes[f] < g.attributes[f - 1]) return Fail(error, "faces out of material order");
  }
  return true;
}

}  // namespace

std::string SerializeXFile(const XFileContents& c) {
  std::string out;
  Put(&out, kMagic);
  Put(&out, uint32_t(c.geometry.vertices.size()));
  Put(&out, uint32_t(c.geometry.attributes.size()));
  Put(&out, uint32_t(c.materials.size()));
  PutArray(&out, c.geometry.vertices);
  PutArray(&out, c.geometry.indices);
  PutArray(&out, c.geometry.attributes);
  for (const XMaterial& m : c.materials) {
    Put(&out, m.material);
    Put(&out, uint32_t(m.hasTexture ? m.texture.size() : UINT32_MAX));
    if (m.hasTexture) out += m.texture;
  }
  return out;
}

bool DeserializeXFile(const std::string& bytes, XFileContents* out, std::string* error) {
  Reader in(bytes);
  uint32_t magic = 0, vertices = 0, faces = 0, materials = 0;
  if (!in.Get(&magic)) return Fail(error, "the mesh reader gave no answer");
  if (magic == 0) {
    *error = bytes.substr(sizeof magic, 200);
    if (error->empty()) *error = "unreadable mesh";
    return false;
  }
  if (magic != kMagic || !in.Get(&vertices) || !in.Get(&faces) || !in.Get(&materials))
    return Fail(error, "the mesh reader's answer is damaged");
  XFileContents c;
  if (!in.GetArray(&c.geometry.vertices, vertices) || !in.GetArray(&c.geometry.indices, uint64_t(faces) * 3) ||
      !in.GetArray(&c.geometry.attributes, faces))
    return Fail(error, "the mesh reader's answer is cut short");
  for (uint32_t i = 0; i < materials; ++i) {
    XMaterial m;
    uint32_t length = 0;
    if (!in.Get(&m.material) || !in.Get(&length)) return Fail(error, "the mesh reader's answer is cut short");
    m.hasTexture = length != UINT32_MAX;
    if (m.hasTexture && !in.GetString(&m.texture, length)) return Fail(error, "the mesh reader's answer is cut short");
    c.materials.push_back(std::move(m));
  }
  if (!in.AtEnd()) return Fail(error, "the mesh reader's answer is damaged");
  if (!GeometryIsSound(c, error)) return false;
  *out = std::move(c);
  return true;
}

std::string SerializeXFileRefusal(const std::string& why) {
  std::string out;
  Put(&out, uint32_t(0));
  return out + why;
}

}  // namespace corvane::d3dx9
