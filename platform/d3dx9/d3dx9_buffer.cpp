// ID3DXBuffer: a reference-counted block of bytes.
#include <d3dx9.h>

#include <atomic>
#include <new>
#include <vector>

namespace {

class Buffer final : public ID3DXBuffer {
 public:
  explicit Buffer(DWORD size) : bytes_(size) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    if (object) *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  LPVOID STDMETHODCALLTYPE GetBufferPointer() override { return bytes_.empty() ? nullptr : bytes_.data(); }
  DWORD STDMETHODCALLTYPE GetBufferSize() override { return DWORD(bytes_.size()); }

 private:
  std::atomic<ULONG> refs_{1};
  std::vector<unsigned char> bytes_;
};

}  // namespace

HRESULT WINAPI D3DXCreateBuffer(DWORD size, ID3DXBuffer** buffer) {
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = new (std::nothrow) Buffer(size);
  return *buffer ? D3D_OK : E_OUTOFMEMORY;
}
