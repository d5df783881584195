// ID3DXSprite in screen space: Begin saves the device state and sets the
// sprite states, Draw records, Flush/End draw in call order, End restores.
#include <d3dx9.h>

#include <vector>

#include "internal/com_object.h"
#include "internal/d3d9_device.h"

namespace {

constexpr DWORD kSpriteFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct SpriteVertex {
  float x, y, z;
  D3DCOLOR color;
  float u, v;
};

struct QueuedSprite {
  IDirect3DTexture9* texture;
  SpriteVertex corners[4];  // top-left, top-right, bottom-right, bottom-left: a fan
};

class Sprite final : public corvane::ComObject<ID3DXSprite> {
 public:
  explicit Sprite(IDirect3DDevice9* device) : device_(device) {
    device_->AddRef();
    D3DXMatrixIdentity(&transform_);
  }
  ~Sprite() override {
    ClearQueue();
    device_->Release();
  }

  HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override {
    if (!device) return D3DERR_INVALIDCALL;
    *device = device_;
    device_->AddRef();
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTransform(D3DXMATRIX* transform) override {
    if (!transform) return D3DERR_INVALIDCALL;
    *transform = transform_;
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE SetTransform(const D3DXMATRIX* transform) override {
    if (!transform) return D3DERR_INVALIDCALL;
    transform_ = *transform;
    return D3D_OK;
  }

  HRESULT STDMETHODCALLTYPE Begin(DWORD flags) override {
    if (begun_) return D3DERR_INVALIDCALL;
    flags_ = flags;
    if (!(flags & D3DXSPRITE_DONOTSAVESTATE)) corvane::d3d9::CaptureDeviceState(device_, &saved_);
    if (!(flags & D3DXSPRITE_DONOTMODIFY_RENDERSTATE)) SetSpriteStates();
    SetSpriteTransforms();
    begun_ = true;
    return D3D_OK;
  }

  HRESULT STDMETHODCALLTYPE Draw(IDirect3DTexture9* texture, const RECT* rect, const D3DXVECTOR3* center,
                                 const D3DXVECTOR3* position, D3DCOLOR color) override {
    if (!begun_ || !texture) return D3DERR_INVALIDCALL;
    D3DSURFACE_DESC desc;
    if (FAILED(texture->GetLevelDesc(0, &desc)) || desc.Width == 0 || desc.Height == 0) return D3DERR_INVALIDCALL;
    RECT r = rect ? *rect : RECT{0, 0, LONG(desc.Width), LONG(desc.Height)};
    const D3DXVECTOR3 c = center ? *center : D3DXVECTOR3(0, 0, 0);
    const D3DXVECTOR3 p = position ? *position : D3DXVECTOR3(0, 0, 0);
    const float w = float(r.right - r.left), h = float(r.bottom - r.top);
    const float u0 = float(r.left) / desc.Width, u1 = float(r.right) / desc.Width;
    const float v0 = float(r.top) / desc.Height, v1 = float(r.bottom) / desc.Height;
    const float cornerX[4] = {0, w, w, 0}, cornerY[4] = {0, 0, h, h};
    const float cornerU[4] = {u0, u1, u1, u0}, cornerV[4] = {v0, v0, v1, v1};

    QueuedSprite s;
    s.texture = texture;
    texture->AddRef();
    for (int i = 0; i < 4; ++i) {
      // The position is placed before the transform, so the transform also
      // scales and turns it (and turns about the origin).
      D3DXVECTOR3 v(p.x - c.x + cornerX[i], p.y - c.y + cornerY[i], p.z - c.z);
      D3DXVec3TransformCoord(&v, &v, &transform_);
      s.corners[i] = SpriteVertex{v.x, v.y, v.z, color, cornerU[i], cornerV[i]};
    }
    queue_.push_back(s);
    return D3D_OK;
  }

  HRESULT STDMETHODCALLTYPE Flush() override {
    if (!begun_) return D3DERR_INVALIDCALL;
    if (queue_.empty()) return D3D_OK;
    SetSpriteTransforms();
    device_->SetFVF(kSpriteFvf);
    for (const QueuedSprite& s : queue_) {
      device_->SetTexture(0, s.texture);
      device_->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, s.corners, sizeof(SpriteVertex));
    }
    ClearQueue();
    return D3D_OK;
  }

  HRESULT STDMETHODCALLTYPE End() override {
    if (!begun_) return D3DERR_INVALIDCALL;
    Flush();
    if (!(flags_ & D3DXSPRITE_DONOTSAVESTATE)) corvane::d3d9::ApplyDeviceState(device_, saved_);
    begun_ = false;
    return D3D_OK;
  }

  // Nothing lives in the default pool; a batch in progress is ended.
  HRESULT STDMETHODCALLTYPE OnLostDevice() override {
    if (begun_) End();
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE OnResetDevice() override { return D3D_OK; }

 private:
  void ClearQueue() {
    for (QueuedSprite& s : queue_) s.texture->Release();
    queue_.clear();
  }

  // The states ID3DXSprite::Begin sets; depth states are left as they are.
  void SetSpriteStates() {
    IDirect3DDevice9* d = device_;
    if (flags_ & D3DXSPRITE_ALPHABLEND) {
      d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
      d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
      d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
      d->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
      d->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, FALSE);
    }
    d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    d->SetRenderState(D3DRS_ALPHAREF, 0);
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    d->SetRenderState(D3DRS_FOGENABLE, FALSE);
    d->SetRenderState(D3DRS_RANGEFOGENABLE, FALSE);
    d->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    d->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    d->SetRenderState(D3DRS_CLIPPING, TRUE);
    d->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
    d->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
    d->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
    d->SetRenderState(D3DRS_STENCILENABLE, FALSE);
    d->SetRenderState(D3DRS_VERTEXBLEND, FALSE);
    d->SetRenderState(D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE);
    d->SetRenderState(D3DRS_ENABLEADAPTIVETESSELLATION, FALSE);
    d->SetRenderState(D3DRS_SRGBWRITEENABLE, FALSE);
    d->SetRenderState(D3DRS_WRAP0, 0);

    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    d->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);

    d->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    d->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(0, D3DSAMP_MAXMIPLEVEL, 0);
    d->SetSamplerState(0, D3DSAMP_MAXANISOTROPY, 1);
    d->SetSamplerState(0, D3DSAMP_MIPMAPLODBIAS, 0);
    d->SetSamplerState(0, D3DSAMP_SRGBTEXTURE, 0);
    d->SetFVF(kSpriteFvf);
  }

  // Screen space: pixels one to one (D3D9 pixel centres, hence the half
  // pixel), and the viewport's depth range so a sprite's z is its depth.
  void SetSpriteTransforms() {
    if (flags_ & D3DXSPRITE_OBJECTSPACE) return;
    D3DVIEWPORT9 vp;
    device_->GetViewport(&vp);
    D3DXMATRIX identity, projection;
    D3DXMatrixIdentity(&identity);
    D3DXMatrixOrthoOffCenterLH(&projection, vp.X + 0.5f, vp.X + vp.Width + 0.5f, vp.Y + vp.Height + 0.5f,
                               vp.Y + 0.5f, vp.MinZ, vp.MaxZ);
    device_->SetTransform(D3DTS_WORLD, &identity);
    device_->SetTransform(D3DTS_VIEW, &identity);
    device_->SetTransform(D3DTS_PROJECTION, &projection);
  }

  IDirect3DDevice9* device_;
  D3DXMATRIX transform_;
  DWORD flags_ = 0;
  bool begun_ = false;
  corvane::d3d9::DeviceState saved_{};
  std::vector<QueuedSprite> queue_;
};

}  // namespace

HRESULT WINAPI D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite) {
  if (!device || !sprite) return D3DERR_INVALIDCALL;
  *sprite = new Sprite(device);
  return D3D_OK;
}
