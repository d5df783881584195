// The device services of internal/d3d9_device.h: state capture for state
// blocks, texture GL info and level fills, pixel read-back and the
// requested GL version.
#include "d3d9_device_impl.h"

#include <cstdio>
#include <cstdlib>

namespace corvane::d3d9 {

void CaptureDeviceState(IDirect3DDevice9* device, DeviceState* state) {
  for (int i = 0; i < kRenderStateCount; ++i)
    device->GetRenderState((D3DRENDERSTATETYPE)i, &state->renderStates[i]);
  for (int stage = 0; stage < kTextureStageCount; ++stage) {
    for (int i = 0; i < kTextureStageStateCount; ++i)
      device->GetTextureStageState(stage, (D3DTEXTURESTAGESTATETYPE)i, &state->stageStates[stage][i]);
    IDirect3DBaseTexture9* texture = nullptr;
    device->GetTexture(stage, &texture);
    if (texture) texture->Release();  // the block does not keep it alive
    state->textures[stage] = texture;
  }
  for (int sampler = 0; sampler < kSamplerCount; ++sampler)
    for (int i = 0; i < kSamplerStateCount; ++i)
      device->GetSamplerState(sampler, (D3DSAMPLERSTATETYPE)i, &state->samplerStates[sampler][i]);
  device->GetTransform(D3DTS_WORLD, &state->world);
  device->GetTransform(D3DTS_VIEW, &state->view);
  device->GetTransform(D3DTS_PROJECTION, &state->projection);
  device->GetViewport(&state->viewport);
  device->GetMaterial(&state->material);
  auto* impl = static_cast<Device*>(device);
  impl->GetLight0(&state->light0, &state->light0Enabled);
  device->GetFVF(&state->fvf);
}

void ApplyDeviceState(IDirect3DDevice9* device, const DeviceState& state) {
  for (int i = 0; i < kRenderStateCount; ++i) device->SetRenderState((D3DRENDERSTATETYPE)i, state.renderStates[i]);
  for (int stage = 0; stage < kTextureStageCount; ++stage) {
    for (int i = 0; i < kTextureStageStateCount; ++i)
      device->SetTextureStageState(stage, (D3DTEXTURESTAGESTATETYPE)i, state.stageStates[stage][i]);
    device->SetTexture(stage, state.textures[stage]);
  }
  for (int sampler = 0; sampler < kSamplerCount; ++sampler)
    for (int i = 0; i < kSamplerStateCount; ++i)
      device->SetSamplerState(sampler, (D3DSAMPLERSTATETYPE)i, state.samplerStates[sampler][i]);
  device->SetTransform(D3DTS_WORLD, &state.world);
  device->SetTransform(D3DTS_VIEW, &state.view);
  device->SetTransform(D3DTS_PROJECTION, &state.projection);
  device->SetViewport(&state.viewport);
  device->SetMaterial(&state.material);
  device->SetLight(0, &state.light0);
  device->LightEnable(0, state.light0Enabled);
  device->SetFVF(state.fvf);
}

HRESULT FillTextureLevel(IDirect3DTexture9* texture, UINT level, const uint8_t* rgba) {
  if (!texture) return D3DERR_INVALIDCALL;
  return static_cast<Texture*>(texture)->FillLevel(level, rgba);
}

bool TextureGlInfo(IDirect3DBaseTexture9* texture, unsigned* glName, UINT* width, UINT* height) {
  if (!texture || texture->GetType() != D3DRTYPE_TEXTURE) return false;
  auto* t = static_cast<Texture*>(texture);
  if (glName) *glName = t->name();
  if (width) *width = t->width();
  if (height) *height = t->height();
  return true;
}

bool ReadSurfacePixels(IDirect3DSurface9* surface, std::vector<uint8_t>* rgba, int* width, int* height) {
  auto* s = static_cast<Surface*>(surface);
  if (!s || !rgba || s->kind() == SurfaceKind::DepthStencil) return false;
  const GLuint fbo = s->ReadFramebuffer();
  if (!fbo) return false;
  const int w = (int)s->width(), h = (int)s->height();
  rgba->resize((size_t)w * h * 4);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
  // llvmpipe's CPU read does not wait for a scene that only cleared this
  // surface (its rasteriser threads may still be writing tiles), so wait for
  // all queued work first.
  glFinish();
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba->data());
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  // Formats without alpha read as opaque.
  if (s->format() == D3DFMT_X8R8G8B8)
    for (size_t i = 3; i < rgba->size(); i += 4) (*rgba)[i] = 255;
  if (width) *width = w;
  if (height) *height = h;
  return glGetError() == GL_NO_ERROR;
}

void SetDrawLog(IDirect3DDevice9* device, std::vector<DrawRecord>* log) {
  if (device) static_cast<Device*>(device)->SetDrawLog(log);
}

FrameStats LastFrameStats(IDirect3DDevice9* device) {
  return device ? static_cast<Device*>(device)->lastFrameStats() : FrameStats{};
}

void SetFragmentCounting(IDirect3DDevice9* device, bool on) {
  if (device) static_cast<Device*>(device)->SetFragmentCounting(on);
}

void SetPassWeighing(IDirect3DDevice9* device, bool on, unsigned skipped) {
  if (device) static_cast<Device*>(device)->SetPassWeighing(on, skipped);
}

void RequestedGlVersion(int* major, int* minor) {
  *major = 3, *minor = 3;
  const char* text = std::getenv("CORVANE_GL_VERSION");
  int a = 0, b = 0;
  if (text && std::sscanf(text, "%d.%d", &a, &b) == 2 && a > 0 && b >= 0) *major = a, *minor = b;
}

}  // namespace corvane::d3d9
