// Textures and surfaces: GL texture levels and depth renderbuffers with COM
// reference counting (texture levels and the device's own surfaces share
// their owner's count).
#include "d3d9_device_impl.h"

#include <algorithm>
#include <cstring>

namespace corvane::d3d9 {

namespace {

// Depth attachments are recognised by a serial that is never reused, so a new
// surface with a recycled GL name is still attached afresh.
uint64_t nextDepthSerial = 1;

GLenum DepthFormat(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_D24S8: return GL_DEPTH24_STENCIL8;
    case D3DFMT_D24X8:
    case D3DFMT_D32: return GL_DEPTH_COMPONENT24;
    default: return GL_DEPTH_COMPONENT16;
  }
}

}  // namespace

UINT FullMipCount(UINT width, UINT height) {
  UINT levels = 1;
  for (UINT size = std::max(width, height); size > 1; size >>= 1) ++levels;
  return levels;
}

// ---------------------------------------------------------------- Surface

Surface::Surface(Device* device, SurfaceKind kind, UINT width, UINT height, D3DFORMAT format, DWORD usage,
                 D3DPOOL pool)
    : device_(device), kind_(kind), width_(width), height_(height), format_(format), usage_(usage), pool_(pool) {
  if (kind == SurfaceKind::BackBuffer) {
    glGenTextures(1, &colorTexture_);
    device_->BindTextureForSetup(colorTexture_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  } else if (kind == SurfaceKind::DepthStencil) {
    glGenRenderbuffers(1, &renderbuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, DepthFormat(format), width, height);
    serial_ = nextDepthSerial++;
  }
}

Surface::~Surface() {
  device_->ResourceDestroyed(this);
  if (fbo_) glDeleteFramebuffers(1, &fbo_);
  if (renderbuffer_) glDeleteRenderbuffers(1, &renderbuffer_);
  if (kind_ == SurfaceKind::BackBuffer && colorTexture_) glDeleteTextures(1, &colorTexture_);
  // A surface of its own holds the reference CreateDepthStencilSurface took on the device.
  if (!forwardToDevice_ && !container_) device_->Release();
}

void Surface::SetContainer(Texture* texture, GLuint glTexture, GLint level) {
  container_ = texture;
  colorTexture_ = glTexture;
  level_ = level;
}

void Surface::NoteRendered() {
  if (container_) container_->MarkRendered();
}

GLuint Surface::ReadFramebuffer() {
  if (!fbo_ && colorTexture_) {
    glGenFramebuffers(1, &fbo_);
    device_->BindFramebuffer(fbo_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture_, level_);
  }
  return fbo_;
}

GLuint Surface::Framebuffer(Surface* depth) {
  if (!ReadFramebuffer()) return 0;
  const uint64_t serial = depth ? depth->serial_ : 0;
  if (serial != fboDepthSerial_) {
    device_->BindFramebuffer(fbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth ? depth->renderbuffer_ : 0);
    fboDepthSerial_ = serial;
  }
  return fbo_;
}

ULONG Surface::AddRef() {
  if (forwardToDevice_) return device_->AddRef();
  if (container_) return container_->AddRef();
  return ComObject::AddRef();
}

ULONG Surface::Release() {
  if (forwardToDevice_) return device_->Release();
  if (container_) return container_->Release();
  return ComObject::Release();
}

HRESULT Surface::GetDevice(IDirect3DDevice9** device) {
  if (!device) return D3DERR_INVALIDCALL;
  *device = device_;
  device_->AddRef();
  return D3D_OK;
}

HRESULT Surface::GetDesc(D3DSURFACE_DESC* desc) {
  if (!desc) return D3DERR_INVALIDCALL;
  *desc = {format_, D3DRTYPE_SURFACE, usage_, pool_, D3DMULTISAMPLE_NONE, 0, width_, height_};
  return D3D_OK;
}

// ---------------------------------------------------------------- Texture

Texture::Texture(Device* device, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool)
    : device_(device), width_(width), height_(height), levels_(levels), usage_(usage), format_(format), pool_(pool) {
  device_->AddRef();
  glGetError();
  glGenTextures(1, &name_);
  device_->BindTextureForSetup(name_);
  for (UINT level = 0; level < levels; ++level)
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, std::max(1u, width >> level), std::max(1u, height >> level), 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, levels - 1);
  // X8R8G8B8 has no alpha: it samples as opaque.
  if (format == D3DFMT_X8R8G8B8) gl::SampleAsOpaque();
  surfaces_.assign(levels, nullptr);
  pixels_.resize(levels);
  if (glGetError() != GL_NO_ERROR) {
    glDeleteTextures(1, &name_);
    name_ = 0;
  }
}

Texture::~Texture() {
  for (Surface* s : surfaces_) delete s;
  device_->ResourceDestroyed(this);
  if (name_) glDeleteTextures(1, &name_);
  device_->Release();
}

HRESULT Texture::GetDevice(IDirect3DDevice9** device) {
  if (!device) return D3DERR_INVALIDCALL;
  *device = device_;
  device_->AddRef();
  return D3D_OK;
}

HRESULT Texture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
  if (!desc || level >= levels_) return D3DERR_INVALIDCALL;
  *desc = {format_, D3DRTYPE_SURFACE, usage_, pool_, D3DMULTISAMPLE_NONE, 0, std::max(1u, width_ >> level),
           std::max(1u, height_ >> level)};
  return D3D_OK;
}

HRESULT Texture::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) {
  if (!surface || level >= levels_) return D3DERR_INVALIDCALL;
  if (!surfaces_[level]) {
    auto* s = new Surface(device_, SurfaceKind::TextureLevel, std::max(1u, width_ >> level),
                          std::max(1u, height_ >> level), format_, usage_, pool_);
    s->SetContainer(this, name_, (GLint)level);
    surfaces_[level] = s;
  }
  *surface = surfaces_[level];
  AddRef();
  return D3D_OK;
}

bool Texture::CanLock(UINT level) const {
  // Render targets live on the GPU only, as in D3D.
  return level < levels_ && lockedLevel_ < 0 && !(usage_ & D3DUSAGE_RENDERTARGET);
}

HRESULT Texture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
  if (!locked || !CanLock(level)) return D3DERR_INVALIDCALL;
  const UINT w = std::max(1u, width_ >> level), h = std::max(1u, height_ >> level);
  RECT area = {0, 0, (LONG)w, (LONG)h};
  if (rect) {
    if (rect->left < 0 || rect->top < 0 || rect->right > (LONG)w || rect->bottom > (LONG)h ||
        rect->left >= rect->right || rect->top >= rect->bottom)
      return D3DERR_INVALIDCALL;
    area = *rect;
  }
  std::vector<uint8_t>& pixels = pixels_[level];
  if (pixels.empty()) ReadLevel(level, &pixels);
  locked->Pitch = (INT)(w * 4);
  locked->pBits = pixels.data() + (size_t)area.top * w * 4 + (size_t)area.left * 4;
  lockedLevel_ = (int)level;
  lockReadOnly_ = (flags & D3DLOCK_READONLY) != 0;
  return D3D_OK;
}

HRESULT Texture::UnlockRect(UINT level) {
  if (lockedLevel_ != (int)level) return D3DERR_INVALIDCALL;
  lockedLevel_ = -1;
  std::vector<uint8_t>& pixels = pixels_[level];
  if (!lockReadOnly_) {
    device_->BindTextureForSetup(name_);
    // The copy is D3D's A8R8G8B8 memory layout, bytes B,G,R,A.
    gl::UploadBgraLevel(name_, level, LevelWidth(level), LevelHeight(level), pixels.data(),
                        format_ == D3DFMT_X8R8G8B8);
    NoteUploaded(level);
  }
  // OpenGL holds the texels now; a later lock reads them back.
  std::vector<uint8_t>().swap(pixels);
  return D3D_OK;
}

HRESULT Texture::FillLevel(UINT level, const uint8_t* rgba) {
  if (!rgba || !CanLock(level)) return D3DERR_INVALIDCALL;
  device_->BindTextureForSetup(name_);
  gl::UploadRgbaLevel(name_, level, LevelWidth(level), LevelHeight(level), rgba, format_ == D3DFMT_X8R8G8B8);
  NoteUploaded(level);
  return D3D_OK;
}

void Texture::NoteUploaded(UINT level) {
  uploaded_ |= 1u << level;
  // A new level 0 makes the lower levels stale unless they are uploaded
  // after it, as texture loading does: they are generated on first use.
  if (level == 0 && levels_ > 1) mipsStale_ = true, uploaded_ = 1u;
}

void Texture::ReadLevel(UINT level, std::vector<uint8_t>* pixels) {
  pixels->assign((size_t)LevelWidth(level) * LevelHeight(level) * 4, 0);
  if (!(uploaded_ >> level & 1u) && !(mipsStale_ && level > 0)) return;  // never written: zeros
  PrepareForSampling();
  device_->BindTextureForSetup(name_);
  gl::ReadBgraLevel(name_, level, LevelWidth(level), LevelHeight(level), pixels->data());
}

void Texture::PrepareForSampling() {
  if (!mipsStale_) return;
  mipsStale_ = false;
  const uint32_t all = levels_ >= 32 ? ~0u : (1u << levels_) - 1u;
  if ((uploaded_ & all) == all) return;  // every level came from the caller
  // Levels uploaded after level 0 survive the regeneration.
  std::vector<std::vector<uint8_t>> kept(levels_);
  device_->BindTextureForSetup(name_);
  for (UINT level = 1; level < levels_; ++level)
    if (uploaded_ >> level & 1u) {
      kept[level].resize((size_t)LevelWidth(level) * LevelHeight(level) * 4);
      gl::ReadBgraLevel(name_, level, LevelWidth(level), LevelHeight(level), kept[level].data());
    }
  glGenerateMipmap(GL_TEXTURE_2D);
  for (UINT level = 1; level < levels_; ++level)
    if (!kept[level].empty())
      gl::UploadBgraLevel(name_, level, LevelWidth(level), LevelHeight(level), kept[level].data(),
                          format_ == D3DFMT_X8R8G8B8);
  uploaded_ = all;
}

}  // namespace corvane::d3d9
