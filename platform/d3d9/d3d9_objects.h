// The Direct3D 9 objects of the GL back end: the Direct3D object, textures,
// surfaces. The device lives in d3d9_device_impl.h.
#pragma once

#include <d3d9.h>
#include "d3d9/gl_compat.h"

#include <cstdint>
#include <vector>

#include "internal/com_object.h"

namespace corvane::d3d9 {

class Device;
class Texture;

class Direct3D9 final : public ComObject<IDirect3D9> {
 public:
  HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
  HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD flags,
                                         D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) override;
};

enum class SurfaceKind { BackBuffer, TextureLevel, DepthStencil };

// A colour surface is a GL texture level (the back buffer owns its texture);
// a depth surface is a GL renderbuffer. Colour surfaces get a framebuffer
// object on first use as a render target.
class Surface final : public ComObject<IDirect3DSurface9> {
 public:
  Surface(Device* device, SurfaceKind kind, UINT width, UINT height, D3DFORMAT format, DWORD usage, D3DPOOL pool);
  ~Surface() override;

  // A level of a texture and the device's own surfaces count on their owner.
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override;
  D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_SURFACE; }
  HRESULT STDMETHODCALLTYPE GetDesc(D3DSURFACE_DESC* desc) override;

  // Internal use.
  SurfaceKind kind() const { return kind_; }
  UINT width() const { return width_; }
  UINT height() const { return height_; }
  D3DFORMAT format() const { return format_; }
  GLuint colorTexture() const { return colorTexture_; }
  GLint level() const { return level_; }
  GLuint renderbuffer() const { return renderbuffer_; }
  // Framebuffer for drawing into this colour surface with `depth` (may be
  // null) attached.
  GLuint Framebuffer(Surface* depth);
  // Framebuffer with the colour attachment only guaranteed (for reading).
  GLuint ReadFramebuffer();
  void SetContainer(Texture* texture, GLuint glTexture, GLint level);
  // A draw into a texture level makes the texture's mip chain stale.
  void NoteRendered();
  // The device's own surfaces forward their references to the device.
  void ForwardRefsToDevice() { forwardToDevice_ = true; }

 private:
  Device* device_;
  SurfaceKind kind_;
  UINT width_, height_;
  D3DFORMAT format_;
  DWORD usage_;
  D3DPOOL pool_;
  bool forwardToDevice_ = false;
  Texture* container_ = nullptr;
  GLuint colorTexture_ = 0;
  GLint level_ = 0;
  GLuint renderbuffer_ = 0;
  GLuint fbo_ = 0;
  uint64_t serial_ = 0;          // depth surfaces
  uint64_t fboDepthSerial_ = 0;  // depth attached to fbo_
};

// RGBA8 GL texture; A8R8G8B8 or X8R8G8B8 (alpha read as 1). A locked level
// is a CPU copy in D3D's B,G,R,A byte order (read back from GL), uploaded
// and dropped on UnlockRect; FillLevel writes a whole level without that
// copy. A new level 0 makes the lower levels stale until they are uploaded
// too; stale ones are generated before sampling.
class Texture final : public ComObject<IDirect3DTexture9> {
 public:
  Texture(Device* device, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool);
  ~Texture() override;
  bool Valid() const { return name_ != 0; }

  HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override;
  D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_TEXTURE; }
  DWORD STDMETHODCALLTYPE GetLevelCount() override { return levels_; }
  HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
  HRESULT STDMETHODCALLTYPE GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
  HRESULT STDMETHODCALLTYPE LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE UnlockRect(UINT level) override;
  // The whole level from R,G,B,A bytes, rows top first: what a lock, a
  // write of every texel and an unlock do, refused where LockRect is.
  HRESULT FillLevel(UINT level, const uint8_t* rgba);

  GLuint name() const { return name_; }
  UINT width() const { return width_; }
  UINT height() const { return height_; }
  D3DFORMAT format() const { return format_; }
  // Rendering into a level changes it: mips are rebuilt before sampling.
  void MarkRendered() { mipsStale_ = levels_ > 1, uploaded_ = 1u; }
  void PrepareForSampling();

 private:
  Device* device_;
  UINT width_, height_, levels_;
  DWORD usage_;
  D3DFORMAT format_;
  D3DPOOL pool_;
  GLuint name_ = 0;
  UINT LevelWidth(UINT level) const { return width_ >> level ? width_ >> level : 1; }
  UINT LevelHeight(UINT level) const { return height_ >> level ? height_ >> level : 1; }
  // The level as D3D's B,G,R,A bytes: zeros when never written.
  void ReadLevel(UINT level, std::vector<uint8_t>* pixels);
  bool CanLock(UINT level) const;
  // Bookkeeping after a level was written.
  void NoteUploaded(UINT level);

  std::vector<std::vector<uint8_t>> pixels_;  // per level while locked, B,G,R,A rows top first
  int lockedLevel_ = -1;
  bool lockReadOnly_ = false;
  bool mipsStale_ = false;
  uint32_t uploaded_ = 0;  // levels written by UnlockRect since level 0 was
  std::vector<Surface*> surfaces_;
};

// Number of levels of a full mip chain for the size.
UINT FullMipCount(UINT width, UINT height);

}  // namespace corvane::d3d9
