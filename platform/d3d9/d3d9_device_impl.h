// IDirect3DDevice9 on an OpenGL 3.3 core context. The device keeps the whole
// D3D state; draws turn it into GL state and a fixed-function program,
// touching GL only where something changed.
#pragma once

#include "d3d9_objects.h"
#include "ffp_program.h"

#include <cstdint>
#include <unordered_map>

#include "internal/d3d9_device.h"
#include "internal/gl_context.h"

namespace corvane::d3d9 {

// GL state as last set, so unchanged state is not sent again.
struct GlStateCache {
  GLuint program = 0, framebuffer = ~0u, texture = ~0u, sampler = ~0u;
  int blend = -1, depthTest = -1, depthMask = -1, cull = -1;
  GLenum blendSrc = 0, blendDst = 0, blendEquation = 0, depthFunc = 0, cullFace = 0;
  DWORD colorMask = ~0u;
  GLint viewport[4] = {-1, -1, -1, -1};
  float depthRange[2] = {-1.f, -1.f};
  DWORD vertexLayout = ~0u;  // fvf | stride << 16 the attribute pointers describe
};

class Device final : public ComObject<IDirect3DDevice9> {
 public:
  Device(IDirect3D9* d3d, GlContext* context, const D3DPRESENT_PARAMETERS& params);
  ~Device() override;
  // Creates the GL objects; false (with a message) when the context lacks them.
  bool Initialise();

  HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* params) override;
  HRESULT STDMETHODCALLTYPE Present(const RECT* src, const RECT* dst, HWND window, const RGNDATA* dirty) override;
  HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type,
                                          IDirect3DSurface9** surface) override;
  HRESULT STDMETHODCALLTYPE CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                          D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* shared) override;
  HRESULT STDMETHODCALLTYPE CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                                      D3DMULTISAMPLE_TYPE multiSample, DWORD quality, BOOL discard,
                                                      IDirect3DSurface9** surface, HANDLE* shared) override;
  HRESULT STDMETHODCALLTYPE SetRenderTarget(DWORD index, IDirect3DSurface9* surface) override;
  HRESULT STDMETHODCALLTYPE GetRenderTarget(DWORD index, IDirect3DSurface9** surface) override;
  HRESULT STDMETHODCALLTYPE SetDepthStencilSurface(IDirect3DSurface9* surface) override;
  HRESULT STDMETHODCALLTYPE GetDepthStencilSurface(IDirect3DSurface9** surface) override;
  HRESULT STDMETHODCALLTYPE BeginScene() override;
  HRESULT STDMETHODCALLTYPE EndScene() override;
  HRESULT STDMETHODCALLTYPE Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                                  DWORD stencil) override;
  HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
  HRESULT STDMETHODCALLTYPE GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
  HRESULT STDMETHODCALLTYPE SetViewport(const D3DVIEWPORT9* viewport) override;
  HRESULT STDMETHODCALLTYPE GetViewport(D3DVIEWPORT9* viewport) override;
  HRESULT STDMETHODCALLTYPE SetMaterial(const D3DMATERIAL9* material) override;
  HRESULT STDMETHODCALLTYPE GetMaterial(D3DMATERIAL9* material) override;
  HRESULT STDMETHODCALLTYPE SetLight(DWORD index, const D3DLIGHT9* light) override;
  HRESULT STDMETHODCALLTYPE LightEnable(DWORD index, BOOL enable) override;
  HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
  HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
  HRESULT STDMETHODCALLTYPE GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override;
  HRESULT STDMETHODCALLTYPE SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
  HRESULT STDMETHODCALLTYPE GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
  HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
  HRESULT STDMETHODCALLTYPE GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
  HRESULT STDMETHODCALLTYPE SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
  HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT count, const void* vertices,
                                            UINT stride) override;
  HRESULT STDMETHODCALLTYPE DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertexCount,
                                                   UINT count, const void* indices, D3DFORMAT indexFormat,
                                                   const void* vertices, UINT stride) override;
  HRESULT STDMETHODCALLTYPE SetFVF(DWORD fvf) override;
  HRESULT STDMETHODCALLTYPE GetFVF(DWORD* fvf) override;

  // Internal use by resources.
  void ResourceDestroyed(Texture* texture);
  void ResourceDestroyed(Surface* surface);
  void BindTextureForSetup(GLuint name);
  void BindFramebuffer(GLuint fbo);
  Surface* backBuffer() const { return backBuffer_; }
  void GetLight0(D3DLIGHT9* light, BOOL* enabled) const { *light = state_.light0, *enabled = state_.light0Enabled; }
  void SetDrawLog(std::vector<DrawRecord>* log) { drawLog_ = log; }
  const FrameStats& lastFrameStats() const { return lastStats_; }
  void SetFragmentCounting(bool on) { countFragments_ = on; }
  void SetPassWeighing(bool on, unsigned skipped) { weighPasses_ = on, skippedPasses_ = on ? skipped : 0u; }

 private:
  void SetDefaultState();
  void ApplyFramebuffer();
  void ApplyViewport();
  void ApplyPipelineState();
  bool ApplyProgram();
  void ApplySampler();
  void UploadUniforms(FfpProgram& p);
  void SetVertexLayout(DWORD fvf, UINT stride);
  // Copies vertex data into the stream buffer; returns the first vertex.
  GLint StreamVertices(const void* data, UINT count, UINT stride);
  HRESULT Draw(D3DPRIMITIVETYPE type, UINT primitives, const void* vertices, UINT stride, const void* indices,
               D3DFORMAT indexFormat, UINT minIndex, UINT vertexCount);
  void PresentToWindow();
  // Which FragmentPass the draw about to be made belongs to.
  FragmentPass CurrentPass() const;
  void RecordDraw(D3DPRIMITIVETYPE type, UINT primitives, const void* vertices, UINT stride, bool indexed);

  IDirect3D9* d3d_;
  GlContext* context_;
  D3DPRESENT_PARAMETERS params_;

  DeviceState state_{};
  Surface* backBuffer_ = nullptr;
  Surface* autoDepth_ = nullptr;
  Surface* renderTarget_ = nullptr;
  Surface* depthStencil_ = nullptr;
  bool inScene_ = false;

  // Derived values and versions of the uniform groups.
  uint32_t versions_[kGroupCount] = {1, 1, 1};
  std::unordered_map<uint64_t, FfpProgram> programs_;
  std::unordered_map<uint32_t, GLuint> samplers_;
  GlStateCache gl_;
  GLuint vao_ = 0, vbo_ = 0, ibo_ = 0, whiteTexture_ = 0;
  // Streamed vertices and indices go round a ring; a draw larger than the
  // ring gets a buffer of its own size.
  static constexpr GLsizeiptr kStreamRingBytes = 1 << 20, kMaxStreamBytes = 4 << 20;
  GLsizeiptr vboOffset_ = 0, iboOffset_ = 0, vboSize_ = kStreamRingBytes, iboSize_ = kStreamRingBytes;
  GLsizeiptr StreamRoom(GLenum target, GLsizeiptr offset, GLsizeiptr bytes, GLsizeiptr* size);
  std::vector<DrawRecord>* drawLog_ = nullptr;
  FrameStats stats_{}, lastStats_{};
  bool countFragments_ = false;
  bool weighPasses_ = false;
  unsigned skippedPasses_ = 0;
  GLuint fragmentQuery_ = 0;
  // Runs the GL draw call, counting its fragments when asked to.
  template <typename DrawCall>
  void CountedDraw(DrawCall draw);
};

}  // namespace corvane::d3d9
