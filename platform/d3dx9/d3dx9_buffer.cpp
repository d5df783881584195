// ID3DXBuffer: a reference-counted block of bytes.
#include <d3dx9.h>

#include <new>
#include <vector>

#include "internal/com_object.h"

namespace {

class Buffer final : public corvane::ComObject<ID3DXBuffer> {
 public:
  explicit Buffer(DWORD size) : bytes_(size) {}

  LPVOID STDMETHODCALLTYPE GetBufferPointer() override { return bytes_.empty() ? nullptr : bytes_.data(); }
  DWORD STDMETHODCALLTYPE GetBufferSize() override { return DWORD(bytes_.size()); }

 private:
  std::vector<unsigned char> bytes_;
};

}  // namespace

HRESULT WINAPI D3DXCreateBuffer(DWORD size, ID3DXBuffer** buffer) {
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = new (std::nothrow) Buffer(size);
  return *buffer ? D3D_OK : E_OUTOFMEMORY;
}
