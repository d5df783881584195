// ID3DXMesh over memory; DrawSubset draws one attribute's faces through the
// device's DrawIndexedPrimitiveUP.
#include <algorithm>

#include "d3dx9/mesh_data.h"
#include "internal/com_object.h"

namespace corvane::d3dx9 {
namespace {

class Mesh final : public ComObject<ID3DXMesh> {
 public:
  Mesh(IDirect3DDevice9* device, DWORD options, MeshData data)
      : device_(device), options_(options), data_(std::move(data)) {
    device_->AddRef();
    if (data_.vertices.size() <= 0xFFFF) {
      indices16_.assign(data_.indices.begin(), data_.indices.end());
    } else {
      options_ |= D3DXMESH_32BIT;
    }
  }
  ~Mesh() override { device_->Release(); }

  HRESULT STDMETHODCALLTYPE DrawSubset(DWORD attrib_id) override {
    for (const D3DXATTRIBUTERANGE& r : data_.ranges) {
      if (r.AttribId != attrib_id || r.FaceCount == 0) continue;
      device_->SetFVF(kMeshFvf);
      const bool wide = indices16_.empty();
      const void* indices = wide ? static_cast<const void*>(&data_.indices[r.FaceStart * 3])
                                 : static_cast<const void*>(&indices16_[r.FaceStart * 3]);
      return device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, r.VertexStart, r.VertexCount, r.FaceCount,
                                             indices, wide ? D3DFMT_INDEX32 : D3DFMT_INDEX16,
                                             data_.vertices.data(), sizeof(MeshVertex));
    }
    return D3D_OK;  // no faces carry this attribute: nothing to draw
  }

  DWORD STDMETHODCALLTYPE GetNumFaces() override { return DWORD(data_.attributes.size()); }
  DWORD STDMETHODCALLTYPE GetNumVertices() override { return DWORD(data_.vertices.size()); }
  DWORD STDMETHODCALLTYPE GetFVF() override { return kMeshFvf; }
  DWORD STDMETHODCALLTYPE GetNumBytesPerVertex() override { return sizeof(MeshVertex); }
  DWORD STDMETHODCALLTYPE GetOptions() override { return options_; }
  HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override {
    if (!device) return D3DERR_INVALIDCALL;
    *device = device_;
    device_->AddRef();
    return D3D_OK;
  }

  HRESULT STDMETHODCALLTYPE LockVertexBuffer(DWORD, void** data) override {
    if (!data) return D3DERR_INVALIDCALL;
    *data = data_.vertices.data();
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE UnlockVertexBuffer() override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE LockIndexBuffer(DWORD, void** data) override {
    if (!data) return D3DERR_INVALIDCALL;
    *data = indices16_.empty() ? static_cast<void*>(data_.indices.data()) : static_cast<void*>(indices16_.data());
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE UnlockIndexBuffer() override {
    // Writes through the lock reach the indices drawn.
    if (!indices16_.empty()) std::copy(indices16_.begin(), indices16_.end(), data_.indices.begin());
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE GetAttributeTable(D3DXATTRIBUTERANGE* table, DWORD* size) override {
    if (!size) return D3DERR_INVALIDCALL;
    if (table) std::copy(data_.ranges.begin(), data_.ranges.end(), table);
    *size = DWORD(data_.ranges.size());
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE LockAttributeBuffer(DWORD, DWORD** data) override {
    if (!data) return D3DERR_INVALIDCALL;
    *data = data_.attributes.data();
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE UnlockAttributeBuffer() override { return D3D_OK; }

 private:
  IDirect3DDevice9* device_;
  DWORD options_;
  MeshData data_;
  std::vector<uint16_t> indices16_;
};

}  // namespace

void BuildAttributeTable(MeshData* data) {
  data->ranges.clear();
  const size_t faces = data->attributes.size();
  for (size_t f = 0; f < faces;) {
    size_t end = f;
    uint32_t lo = UINT32_MAX, hi = 0;
    while (end < faces && data->attributes[end] == data->attributes[f]) {
      for (int k = 0; k < 3; ++k) {
        lo = std::min(lo, data->indices[end * 3 + k]);
        hi = std::max(hi, data->indices[end * 3 + k]);
      }
      ++end;
    }
    data->ranges.push_back(
        D3DXATTRIBUTERANGE{data->attributes[f], DWORD(f), DWORD(end - f), DWORD(lo), DWORD(hi - lo + 1)});
    f = end;
  }
}

ID3DXMesh* CreateMesh(IDirect3DDevice9* device, DWORD options, MeshData data) {
  return new Mesh(device, options, std::move(data));
}

}  // namespace corvane::d3dx9
