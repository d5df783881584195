// The converted form of a .x file (NAME.x.xfc), written by the data build:
// a header naming the exact .x it was made from and guarding its own body,
// then the mesh reader's byte form. A converted file only stands in for the
// very bytes it was made from, so a replaced .x is always imported afresh.
#include <cstring>

#include "d3dx9/x_file_import.h"

namespace corvane::d3dx9 {
namespace {

constexpr uint32_t kHeaderMagic = 0x53434658;  // "XFCS"

struct Header {
  uint32_t magic;
  uint32_t reserved;
  uint64_t sourceSize;
  uint64_t sourceHash;
  uint64_t bodyHash;
};

// FNV-1a: the meshes are small, and a stale or damaged file is an accident,
// not an attack (the body is checked in full either way).
constexpr uint64_t kHashStart = 0xcbf29ce484222325ull;

uint64_t Hash(uint64_t hash, const char* data, size_t size) {
  for (size_t i = 0; i < size; ++i) hash = (hash ^ uint8_t(data[i])) * 0x100000001b3ull;
  return hash;
}

}  // namespace

XFileStamp::XFileStamp() : hash(kHashStart) {}

void XFileStamp::Add(const char* data, size_t count) {
  size += count;
  hash = Hash(hash, data, count);
}

std::string ConvertXFile(const XFileStamp& source, const XFileContents& contents) {
  const std::string body = SerializeXFile(contents);
  const Header header{kHeaderMagic, 0, source.size, source.hash, Hash(kHashStart, body.data(), body.size())};
  return std::string(reinterpret_cast<const char*>(&header), sizeof header) + body;
}

ConvertedXFile ReadConvertedXFile(const std::string& bytes, const XFileStamp& source, XFileContents* out,
                                  std::string* error) {
  Header header{};
  if (bytes.size() < sizeof header) {
    *error = "cut short";
    return ConvertedXFile::kDamaged;
  }
  std::memcpy(&header, bytes.data(), sizeof header);
  if (header.magic != kHeaderMagic) {
    *error = "not a converted mesh";
    return ConvertedXFile::kDamaged;
  }
  if (header.sourceSize != source.size || header.sourceHash != source.hash) return ConvertedXFile::kOtherSource;
  const std::string body = bytes.substr(sizeof header);
  if (Hash(kHashStart, body.data(), body.size()) != header.bodyHash) {
    *error = "its contents do not match their checksum";
    return ConvertedXFile::kDamaged;
  }
  return DeserializeXFile(body, out, error) ? ConvertedXFile::kUsed : ConvertedXFile::kDamaged;
}

}  // namespace corvane::d3dx9
