// Device creation, state keeping, render targets, Clear, Present and Reset.
// The draw path is in d3d9_draw.cpp.
#include "d3d9_device_impl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/comfort_note.h"
#include "common/startup_marks.h"
#include "common/startup_work.h"
#include "d3d9/note_overlay.h"
#include "internal/automation.h"
#include "internal/window_internal.h"

namespace corvane::d3d9 {

namespace {

DWORD FloatBits(float f) {
  DWORD d;
  std::memcpy(&d, &f, sizeof d);
  return d;
}

D3DMATRIX Identity() {
  D3DMATRIX m{};
  m._11 = m._22 = m._33 = m._44 = 1.f;
  return m;
}

}  // namespace

Device::Device(IDirect3D9* d3d, GlContext* context, const D3DPRESENT_PARAMETERS& params)
    : d3d_(d3d), context_(context), params_(params) {
  d3d_->AddRef();
}

Device::~Device() {
  for (auto& entry : programs_) glDeleteProgram(entry.second.program);
  for (auto& entry : samplers_) glDeleteSamplers(1, &entry.second);
  delete backBuffer_;
  delete autoDepth_;
  if (whiteTexture_) glDeleteTextures(1, &whiteTexture_);
  if (vbo_) glDeleteBuffers(1, &vbo_);
  if (ibo_) glDeleteBuffers(1, &ibo_);
  if (vao_) glDeleteVertexArrays(1, &vao_);
  if (fragmentQuery_) glDeleteQueries(1, &fragmentQuery_);
  DestroyGlContext(context_);
  d3d_->Release();
}

bool Device::Initialise() {
  glGenVertexArrays(1, &vao_);
  glBindVertexArray(vao_);
  glGenBuffers(1, &vbo_);
  glBindBuffer(GL_ARRAY_BUFFER, vbo_);
  glBufferData(GL_ARRAY_BUFFER, vboSize_, nullptr, GL_STREAM_DRAW);
  glGenBuffers(1, &ibo_);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, iboSize_, nullptr, GL_STREAM_DRAW);
  // What a vertex without the element reads: no normal, white diffuse, no
  // specular, texture coordinate 0.
  glVertexAttrib3f(kAttrNormal, 0.f, 0.f, 0.f);
  glVertexAttrib4f(kAttrDiffuse, 1.f, 1.f, 1.f, 1.f);
  glVertexAttrib4f(kAttrSpecular, 0.f, 0.f, 0.f, 0.f);
  glVertexAttrib2f(kAttrTexCoord, 0.f, 0.f);

  // NULL texture: a white texel makes MODULATE and SELECTARG pass the
  // diffuse colour through.
  glGenTextures(1, &whiteTexture_);
  glBindTexture(GL_TEXTURE_2D, whiteTexture_);
  const uint8_t white[4] = {255, 255, 255, 255};
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  gl_.texture = whiteTexture_;

  // The back buffer stays 800 x 600 whatever the window; Present scales it.
  backBuffer_ = new Surface(this, SurfaceKind::BackBuffer, 800, 600,
                            params_.BackBufferFormat == D3DFMT_UNKNOWN ? D3DFMT_X8R8G8B8 : params_.BackBufferFormat,
                            D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT);
  backBuffer_->ForwardRefsToDevice();
  if (params_.EnableAutoDepthStencil) {
    autoDepth_ = new Surface(this, SurfaceKind::DepthStencil, 800, 600, params_.AutoDepthStencilFormat,
                             D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT);
    autoDepth_->ForwardRefsToDevice();
  }
  if (glGetError() != GL_NO_ERROR || !backBuffer_->colorTexture()) {
    std::fprintf(stderr, "d3d9: could not create the back buffer\n");
    return false;
  }
  renderTarget_ = backBuffer_;
  depthStencil_ = autoDepth_;
  SetDefaultState();
  Reset(&params_);
  return true;
}

void Device::SetDefaultState() {
  DWORD* rs = state_.renderStates;
  std::fill(rs, rs + kRenderStateCount, 0u);
  rs[D3DRS_ZENABLE] = params_.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
  rs[D3DRS_FILLMODE] = D3DFILL_SOLID;
  rs[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
  rs[D3DRS_ZWRITEENABLE] = TRUE;
  rs[D3DRS_LASTPIXEL] = TRUE;
  rs[D3DRS_SRCBLEND] = D3DBLEND_ONE;
  rs[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
  rs[D3DRS_CULLMODE] = D3DCULL_CCW;
  rs[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
  rs[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
  rs[D3DRS_FOGEND] = FloatBits(1.f);
  rs[D3DRS_FOGDENSITY] = FloatBits(1.f);
  rs[D3DRS_STENCILFAIL] = rs[D3DRS_STENCILZFAIL] = rs[D3DRS_STENCILPASS] = D3DSTENCILOP_KEEP;
  rs[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
  rs[D3DRS_STENCILMASK] = rs[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFF;
  rs[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFF;
  rs[D3DRS_CLIPPING] = TRUE;
  rs[D3DRS_LIGHTING] = TRUE;
  rs[D3DRS_COLORVERTEX] = TRUE;
  rs[D3DRS_LOCALVIEWER] = TRUE;
  rs[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
  rs[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
  rs[D3DRS_POINTSIZE] = rs[D3DRS_POINTSIZE_MIN] = rs[D3DRS_POINTSCALE_A] = FloatBits(1.f);
  rs[D3DRS_POINTSIZE_MAX] = FloatBits(64.f);
  rs[D3DRS_MULTISAMPLEANTIALIAS] = TRUE;
  rs[D3DRS_MULTISAMPLEMASK] = 0xFFFFFFFF;
  rs[D3DRS_DEBUGMONITORTOKEN] = 0xbaadcafe;
  rs[D3DRS_COLORWRITEENABLE] = rs[D3DRS_COLORWRITEENABLE1] = rs[D3DRS_COLORWRITEENABLE2] =
      rs[D3DRS_COLORWRITEENABLE3] = 0xF;
  rs[D3DRS_BLENDOP] = rs[D3DRS_BLENDOPALPHA] = D3DBLENDOP_ADD;
  rs[D3DRS_POSITIONDEGREE] = 3;  // D3DDEGREE_CUBIC
  rs[D3DRS_NORMALDEGREE] = 1;  // D3DDEGREE_LINEAR
  rs[D3DRS_MINTESSELLATIONLEVEL] = rs[D3DRS_MAXTESSELLATIONLEVEL] = FloatBits(1.f);
  rs[D3DRS_ADAPTIVETESS_W] = FloatBits(1.f);
  rs[D3DRS_CCW_STENCILFAIL] = rs[D3DRS_CCW_STENCILZFAIL] = rs[D3DRS_CCW_STENCILPASS] = D3DSTENCILOP_KEEP;
  rs[D3DRS_CCW_STENCILFUNC] = D3DCMP_ALWAYS;
  rs[D3DRS_BLENDFACTOR] = 0xFFFFFFFF;
  rs[D3DRS_SRCBLENDALPHA] = D3DBLEND_ONE;
  rs[D3DRS_DESTBLENDALPHA] = D3DBLEND_ZERO;

  for (int stage = 0; stage < kTextureStageCount; ++stage) {
    DWORD* ts = state_.stageStates[stage];
    std::fill(ts, ts + kTextureStageStateCount, 0u);
    ts[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    ts[D3DTSS_COLORARG1] = ts[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    ts[D3DTSS_COLORARG2] = ts[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    ts[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    ts[D3DTSS_TEXCOORDINDEX] = stage;
    ts[D3DTSS_COLORARG0] = ts[D3DTSS_ALPHAARG0] = ts[D3DTSS_RESULTARG] = D3DTA_CURRENT;
    state_.textures[stage] = nullptr;
  }
  for (int sampler = 0; sampler < kSamplerCount; ++sampler) {
    DWORD* ss = state_.samplerStates[sampler];
    std::fill(ss, ss + kSamplerStateCount, 0u);
    ss[D3DSAMP_ADDRESSU] = ss[D3DSAMP_ADDRESSV] = ss[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
    ss[D3DSAMP_MAGFILTER] = ss[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
    ss[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
    ss[D3DSAMP_MAXANISOTROPY] = 1;
  }
  state_.world = state_.view = state_.projection = Identity();
  state_.viewport = {0, 0, renderTarget_->width(), renderTarget_->height(), 0.f, 1.f};
  state_.material = {};
  // What LightEnable turns on for a light never set: white, pointing along +z.
  state_.light0 = {};
  state_.light0.Type = D3DLIGHT_DIRECTIONAL;
  state_.light0.Diffuse = {1.f, 1.f, 1.f, 0.f};
  state_.light0.Direction = {0.f, 0.f, 1.f};
  state_.light0Enabled = FALSE;
  state_.fvf = 0;
  for (uint32_t& v : versions_) ++v;
}

HRESULT Device::Reset(D3DPRESENT_PARAMETERS* params) {
  if (!params) return D3DERR_INVALIDCALL;
  params_ = *params;
  const int interval = params_.PresentationInterval == (UINT)D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1;
  SetGlSwapInterval(context_, interval);
  return D3D_OK;
}

HRESULT Device::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface) {
  if (!surface || swapChain != 0 || index != 0) return D3DERR_INVALIDCALL;
  *surface = backBuffer_;
  backBuffer_->AddRef();
  return D3D_OK;
}

HRESULT Device::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DTexture9** texture, HANDLE* shared) {
  if (!texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  if (width == 0 || height == 0 || width > 8192 || height > 8192 || shared) return D3DERR_INVALIDCALL;
  if (format != D3DFMT_A8R8G8B8 && format != D3DFMT_X8R8G8B8) return D3DERR_INVALIDCALL;
  if ((usage & D3DUSAGE_RENDERTARGET) && pool != D3DPOOL_DEFAULT) return D3DERR_INVALIDCALL;
  if (pool != D3DPOOL_DEFAULT && pool != D3DPOOL_MANAGED) return D3DERR_INVALIDCALL;
  const UINT full = FullMipCount(width, height);
  if (levels == 0 || levels > full) levels = full;
  auto* t = new Texture(this, width, height, levels, usage, format, pool);
  if (!t->Valid()) {
    t->Release();
    return D3DERR_OUTOFVIDEOMEMORY;
  }
  *texture = t;
  return D3D_OK;
}

HRESULT Device::CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample,
                                          DWORD quality, BOOL discard, IDirect3DSurface9** surface, HANDLE* shared) {
  if (!surface) return D3DERR_INVALIDCALL;
  *surface = nullptr;
  if (width == 0 || height == 0 || shared || multiSample != D3DMULTISAMPLE_NONE) return D3DERR_INVALIDCALL;
  if (format != D3DFMT_D16 && format != D3DFMT_D24X8 && format != D3DFMT_D24S8 && format != D3DFMT_D32)
    return D3DERR_INVALIDCALL;
  AddRef();  // held by the surface until its last Release
  auto* s = new Surface(this, SurfaceKind::DepthStencil, width, height, format, D3DUSAGE_DEPTHSTENCIL,
                        D3DPOOL_DEFAULT);
  if (!s->renderbuffer()) {
    s->Release();
    return D3DERR_OUTOFVIDEOMEMORY;
  }
  *surface = s;
  return D3D_OK;
}

HRESULT Device::SetRenderTarget(DWORD index, IDirect3DSurface9* surface) {
  auto* s = static_cast<Surface*>(surface);
  if (index != 0 || !s || s->kind() == SurfaceKind::DepthStencil) return D3DERR_INVALIDCALL;
  renderTarget_ = s;
  // Setting render target 0 also sets the viewport to the whole target.
  state_.viewport = {0, 0, s->width(), s->height(), 0.f, 1.f};
  ++versions_[kTransformGroup];
  return D3D_OK;
}

HRESULT Device::GetRenderTarget(DWORD index, IDirect3DSurface9** surface) {
  if (!surface || index != 0) return D3DERR_INVALIDCALL;
  *surface = renderTarget_;
  if (!renderTarget_) return D3DERR_NOTFOUND;
  renderTarget_->AddRef();
  return D3D_OK;
}

HRESULT Device::SetDepthStencilSurface(IDirect3DSurface9* surface) {
  auto* s = static_cast<Surface*>(surface);
  if (s && s->kind() != SurfaceKind::DepthStencil) return D3DERR_INVALIDCALL;
  depthStencil_ = s;
  return D3D_OK;
}

HRESULT Device::GetDepthStencilSurface(IDirect3DSurface9** surface) {
  if (!surface) return D3DERR_INVALIDCALL;
  *surface = depthStencil_;
  if (!depthStencil_) return D3DERR_NOTFOUND;
  depthStencil_->AddRef();
  return D3D_OK;
}

HRESULT Device::BeginScene() {
  if (inScene_) return D3DERR_INVALIDCALL;
  inScene_ = true;
  return D3D_OK;
}

HRESULT Device::EndScene() {
  if (!inScene_) return D3DERR_INVALIDCALL;
  inScene_ = false;
  return D3D_OK;
}

HRESULT Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) {
  if (!renderTarget_) return D3DERR_INVALIDCALL;
  if ((flags & D3DCLEAR_ZBUFFER) && !depthStencil_) return D3DERR_INVALIDCALL;
  ApplyFramebuffer();
  GLbitfield mask = 0;
  if (flags & D3DCLEAR_TARGET) {
    glClearColor(((color >> 16) & 0xFF) / 255.f, ((color >> 8) & 0xFF) / 255.f, (color & 0xFF) / 255.f,
                 (color >> 24) / 255.f);
    if (gl_.colorMask != 0xF) glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE), gl_.colorMask = 0xF;
    mask |= GL_COLOR_BUFFER_BIT;
  }
  if (flags & D3DCLEAR_ZBUFFER) {
    gl::ClearDepth(std::clamp(z, 0.f, 1.f));
    // Clear writes depth whatever ZWRITEENABLE says.
    if (gl_.depthMask != 1) glDepthMask(GL_TRUE), gl_.depthMask = 1;
    mask |= GL_DEPTH_BUFFER_BIT;
  }
  if (!mask) return D3D_OK;
  ++stats_.clears;
  // Clear covers the viewport, cut further by the rectangles if given.
  const D3DVIEWPORT9& vp = state_.viewport;
  const bool wholeTarget = vp.X == 0 && vp.Y == 0 && vp.Width == renderTarget_->width() &&
                           vp.Height == renderTarget_->height();
  if ((count == 0 || !rects) && wholeTarget) {
    glClear(mask);  // unscissored: the software rasteriser's fast clear
    return D3D_OK;
  }
  glEnable(GL_SCISSOR_TEST);
  if (count == 0 || !rects) {
    glScissor(vp.X, vp.Y, vp.Width, vp.Height);
    glClear(mask);
  } else {
    for (DWORD i = 0; i < count; ++i) {
      const LONG x1 = std::max<LONG>(rects[i].x1, vp.X), y1 = std::max<LONG>(rects[i].y1, vp.Y);
      const LONG x2 = std::min<LONG>(rects[i].x2, vp.X + vp.Width), y2 = std::min<LONG>(rects[i].y2, vp.Y + vp.Height);
      if (x2 <= x1 || y2 <= y1) continue;
      glScissor(x1, y1, x2 - x1, y2 - y1);
      glClear(mask);
    }
  }
  glDisable(GL_SCISSOR_TEST);
  return D3D_OK;
}

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
  if (!matrix) return D3DERR_INVALIDCALL;
  D3DMATRIX* slot = state == D3DTS_WORLD ? &state_.world
                    : state == D3DTS_VIEW ? &state_.view
                    : state == D3DTS_PROJECTION ? &state_.projection
                                                : nullptr;
  if (!slot) return D3D_OK;  // texture and other world matrices are not emulated
  // The sprite's state block sets every transform back after each sprite;
  // an unchanged matrix must not send the uniforms again.
  if (std::memcmp(slot, matrix, sizeof *matrix) == 0) return D3D_OK;
  *slot = *matrix;
  if (state == D3DTS_VIEW) ++versions_[kLightingGroup];  // the light direction is kept in view space
  ++versions_[kTransformGroup];
  return D3D_OK;
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
  if (!matrix) return D3DERR_INVALIDCALL;
  if (state == D3DTS_WORLD) *matrix = state_.world;
  else if (state == D3DTS_VIEW) *matrix = state_.view;
  else if (state == D3DTS_PROJECTION) *matrix = state_.projection;
  else *matrix = Identity();
  return D3D_OK;
}

HRESULT Device::SetViewport(const D3DVIEWPORT9* viewport) {
  if (!viewport || !renderTarget_) return D3DERR_INVALIDCALL;
  if (viewport->Width == 0 || viewport->Height == 0 || viewport->X + viewport->Width > renderTarget_->width() ||
      viewport->Y + viewport->Height > renderTarget_->height())
    return D3DERR_INVALIDCALL;
  if (std::memcmp(&state_.viewport, viewport, sizeof *viewport) == 0) return D3D_OK;
  state_.viewport = *viewport;
  ++versions_[kTransformGroup];
  return D3D_OK;
}

HRESULT Device::GetViewport(D3DVIEWPORT9* viewport) {
  if (!viewport) return D3DERR_INVALIDCALL;
  *viewport = state_.viewport;
  return D3D_OK;
}

HRESULT Device::SetMaterial(const D3DMATERIAL9* material) {
  if (!material) return D3DERR_INVALIDCALL;
  if (std::memcmp(&state_.material, material, sizeof *material) == 0) return D3D_OK;
  state_.material = *material;
  ++versions_[kLightingGroup];
  return D3D_OK;
}

HRESULT Device::GetMaterial(D3DMATERIAL9* material) {
  if (!material) return D3DERR_INVALIDCALL;
  *material = state_.material;
  return D3D_OK;
}

HRESULT Device::SetLight(DWORD index, const D3DLIGHT9* light) {
  if (!light || light->Type < D3DLIGHT_POINT || light->Type > D3DLIGHT_DIRECTIONAL) return D3DERR_INVALIDCALL;
  if (index != 0) return D3D_OK;  // only light 0 is emulated
  if (std::memcmp(&state_.light0, light, sizeof *light) == 0) return D3D_OK;
  state_.light0 = *light;
  ++versions_[kLightingGroup];
  return D3D_OK;
}

HRESULT Device::LightEnable(DWORD index, BOOL enable) {
  if (index == 0) state_.light0Enabled = enable ? TRUE : FALSE;
  return D3D_OK;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  if ((DWORD)state >= (DWORD)kRenderStateCount) return D3DERR_INVALIDCALL;
  DWORD& slot = state_.renderStates[state];
  if (slot == value) return D3D_OK;
  slot = value;
  switch (state) {
    case D3DRS_AMBIENT: ++versions_[kLightingGroup]; break;
    case D3DRS_FOGSTART:
    case D3DRS_FOGEND:
    case D3DRS_FOGDENSITY:
    case D3DRS_FOGCOLOR:
    case D3DRS_ALPHAREF:
    case D3DRS_TEXTUREFACTOR: ++versions_[kPixelGroup]; break;
    default: break;
  }
  return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
  if (!value || (DWORD)state >= (DWORD)kRenderStateCount) return D3DERR_INVALIDCALL;
  *value = state_.renderStates[state];
  return D3D_OK;
}

HRESULT Device::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) {
  if (!texture || stage >= (DWORD)kTextureStageCount) return D3DERR_INVALIDCALL;
  *texture = state_.textures[stage];
  if (*texture) (*texture)->AddRef();
  return D3D_OK;
}

HRESULT Device::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
  if (stage >= (DWORD)kTextureStageCount) return D3DERR_INVALIDCALL;
  state_.textures[stage] = texture;
  return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
  if (!value || stage >= (DWORD)kTextureStageCount || (DWORD)type >= (DWORD)kTextureStageStateCount)
    return D3DERR_INVALIDCALL;
  *value = state_.stageStates[stage][type];
  return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  if (stage >= (DWORD)kTextureStageCount || (DWORD)type >= (DWORD)kTextureStageStateCount)
    return D3DERR_INVALIDCALL;
  state_.stageStates[stage][type] = value;
  return D3D_OK;
}

HRESULT Device::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
  if (!value || sampler >= (DWORD)kSamplerCount || (DWORD)type >= (DWORD)kSamplerStateCount)
    return D3DERR_INVALIDCALL;
  *value = state_.samplerStates[sampler][type];
  return D3D_OK;
}

HRESULT Device::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
  if (sampler >= (DWORD)kSamplerCount || (DWORD)type >= (DWORD)kSamplerStateCount) return D3DERR_INVALIDCALL;
  state_.samplerStates[sampler][type] = value;
  return D3D_OK;
}

HRESULT Device::SetFVF(DWORD fvf) {
  state_.fvf = fvf;
  return D3D_OK;
}

HRESULT Device::GetFVF(DWORD* fvf) {
  if (!fvf) return D3DERR_INVALIDCALL;
  *fvf = state_.fvf;
  return D3D_OK;
}

void Device::ResourceDestroyed(Texture* texture) {
  for (auto*& t : state_.textures)
    if (t == texture) t = nullptr;
  if (renderTarget_ && renderTarget_->kind() == SurfaceKind::TextureLevel &&
      renderTarget_->colorTexture() == texture->name())
    renderTarget_ = nullptr;
  if (gl_.texture == texture->name()) gl_.texture = ~0u;
}

void Device::ResourceDestroyed(Surface* surface) {
  if (renderTarget_ == surface) renderTarget_ = nullptr;
  if (depthStencil_ == surface) depthStencil_ = nullptr;
  gl_.framebuffer = ~0u;
}

void Device::BindTextureForSetup(GLuint name) {
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, name);
  gl_.texture = name;
}

void Device::BindFramebuffer(GLuint fbo) {
  if (gl_.framebuffer != fbo) {
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    gl_.framebuffer = fbo;
  }
}

void Device::ApplyFramebuffer() {
  if (!renderTarget_) return;
  BindFramebuffer(renderTarget_->Framebuffer(depthStencil_));
}

HRESULT Device::Present(const RECT* src, const RECT* dst, HWND window, const RGNDATA* dirty) {
  if (!backBuffer_) return D3DERR_INVALIDCALL;
  const int frame = corvane::CurrentFrame();
  // Without a display nobody sees the window: the frame stays in the back
  // buffer (where captures read it) and is only handed to the renderer.
  const bool shown = !corvane::IsHeadless();
  if (shown) PresentToWindow();
  if (corvane::WantsCapture(frame)) {
    std::vector<uint8_t> rgba;
    int w = 0, h = 0;
    if (ReadSurfacePixels(backBuffer_, &rgba, &w, &h)) corvane::SaveCapture(frame, rgba.data(), w, h);
  }
  FinishGlFrame(context_, shown);
  if (weighPasses_) glFinish();
  corvane::NotePresent();
  corvane::MarkStartup(corvane::StartupMark::FirstPresent);
  corvane::EndStartup();
  lastStats_ = stats_;
  stats_ = {};
  return D3D_OK;
}

// Scales the back buffer into the window's drawable, keeping 4:3 with black
// bars; the default framebuffer stores its bottom row first.
void Device::PresentToWindow() {
  int dw = 0, dh = 0;
  GlDrawableSize(context_, &dw, &dh);
  if (dw <= 0 || dh <= 0) return;
  const int bw = (int)backBuffer_->width(), bh = (int)backBuffer_->height();
  int w = dw, h = (int)std::lround((double)dw * bh / bw);
  if (h > dh) h = dh, w = (int)std::lround((double)dh * bw / bh);
  const int x = (dw - w) / 2, y = (dh - h) / 2;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, backBuffer_->Framebuffer(nullptr));
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  gl_.framebuffer = ~0u;
  if (gl_.colorMask != 0xF) glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE), gl_.colorMask = 0xF;
  // At the back buffer's own size there are no bars and nothing to filter.
  const bool oneToOne = w == bw && h == bh && x == 0 && y == 0;
  if (!oneToOne) {
    glClearColor(0.f, 0.f, 0.f, 1.f);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  glBlitFramebuffer(0, 0, bw, bh, x, y + h, x + w, y, GL_COLOR_BUFFER_BIT, oneToOne ? GL_NEAREST : GL_LINEAR);
  DrawNoteOverlay(corvane::ComfortNoteText(), x, y, w, h);
}

}  // namespace corvane::d3d9
