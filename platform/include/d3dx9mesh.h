// D3DX 9 meshes: ID3DXMesh and loading from .x files.
#pragma once

#include <d3d9.h>
#include <d3dx9core.h>

enum _D3DXMESH {
  D3DXMESH_32BIT = 0x001,
  D3DXMESH_DONOTCLIP = 0x002,
  D3DXMESH_POINTS = 0x004,
  D3DXMESH_RTPATCHES = 0x008,
  D3DXMESH_NPATCHES = 0x4000,
  D3DXMESH_VB_SYSTEMMEM = 0x010,
  D3DXMESH_VB_MANAGED = 0x020,
  D3DXMESH_VB_WRITEONLY = 0x040,
  D3DXMESH_VB_DYNAMIC = 0x080,
  D3DXMESH_VB_SOFTWAREPROCESSING = 0x8000,
  D3DXMESH_IB_SYSTEMMEM = 0x100,
  D3DXMESH_IB_MANAGED = 0x200,
  D3DXMESH_IB_WRITEONLY = 0x400,
  D3DXMESH_IB_DYNAMIC = 0x800,
  D3DXMESH_IB_SOFTWAREPROCESSING = 0x10000,
  D3DXMESH_VB_SHARE = 0x1000,
  D3DXMESH_USEHWONLY = 0x2000,
  D3DXMESH_SYSTEMMEM = 0x110,
  D3DXMESH_MANAGED = 0x220,
  D3DXMESH_WRITEONLY = 0x440,
  D3DXMESH_DYNAMIC = 0x880,
  D3DXMESH_SOFTWAREPROCESSING = 0x18000
};

typedef struct _D3DXMATERIAL {
  D3DMATERIAL9 MatD3D;
  char* pTextureFilename;
} D3DXMATERIAL, *LPD3DXMATERIAL;

typedef struct _D3DXATTRIBUTERANGE {
  DWORD AttribId;
  DWORD FaceStart;
  DWORD FaceCount;
  DWORD VertexStart;
  DWORD VertexCount;
} D3DXATTRIBUTERANGE, *LPD3DXATTRIBUTERANGE;

struct ID3DXMesh : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE DrawSubset(DWORD attrib_id) = 0;
  virtual DWORD STDMETHODCALLTYPE GetNumFaces() = 0;
  virtual DWORD STDMETHODCALLTYPE GetNumVertices() = 0;
  virtual DWORD STDMETHODCALLTYPE GetFVF() = 0;
  virtual DWORD STDMETHODCALLTYPE GetNumBytesPerVertex() = 0;
  virtual DWORD STDMETHODCALLTYPE GetOptions() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) = 0;
  virtual HRESULT STDMETHODCALLTYPE LockVertexBuffer(DWORD flags, void** data) = 0;
  virtual HRESULT STDMETHODCALLTYPE UnlockVertexBuffer() = 0;
  virtual HRESULT STDMETHODCALLTYPE LockIndexBuffer(DWORD flags, void** data) = 0;
  virtual HRESULT STDMETHODCALLTYPE UnlockIndexBuffer() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAttributeTable(D3DXATTRIBUTERANGE* attrib_table, DWORD* attrib_table_size) = 0;
  virtual HRESULT STDMETHODCALLTYPE LockAttributeBuffer(DWORD flags, DWORD** data) = 0;
  virtual HRESULT STDMETHODCALLTYPE UnlockAttributeBuffer() = 0;
};
typedef ID3DXMesh* LPD3DXMESH;

HRESULT WINAPI D3DXLoadMeshFromXA(const char* filename, DWORD flags, IDirect3DDevice9* device,
                                  ID3DXBuffer** adjacency, ID3DXBuffer** materials,
                                  ID3DXBuffer** effect_instances, DWORD* material_count, ID3DXMesh** mesh);
#define D3DXLoadMeshFromX D3DXLoadMeshFromXA
