// What the other platform families (D3DX) and the tests need from the
// Direct3D 9 device beyond the public interfaces: whole-state capture and
// re-apply (ID3DXSprite's state block), a texture's GL object, filling a
// texture level without a lock, and pixel read-back of a surface.
#pragma once

#include <d3d9.h>

#include <cstdint>
#include <vector>

namespace corvane::d3d9 {

// Numbers of state slots kept by the device (indices are the D3D enums).
constexpr int kRenderStateCount = 256;      // D3DRS_* < 256
constexpr int kTextureStageCount = 8;
constexpr int kTextureStageStateCount = 33;  // D3DTSS_* <= 32
constexpr int kSamplerCount = 8;
constexpr int kSamplerStateCount = 14;       // D3DSAMP_* <= 13

// Everything a D3DSBT_ALL state block records. The texture pointers are not
// referenced: the textures must outlive the captured state.
struct DeviceState {
  DWORD renderStates[kRenderStateCount];
  DWORD stageStates[kTextureStageCount][kTextureStageStateCount];
  DWORD samplerStates[kSamplerCount][kSamplerStateCount];
  IDirect3DBaseTexture9* textures[kTextureStageCount];
  D3DMATRIX world, view, projection;
  D3DVIEWPORT9 viewport;
  D3DMATERIAL9 material;
  D3DLIGHT9 light0;
  BOOL light0Enabled;
  DWORD fvf;
};

// Copies the device's current state into *state / makes it current again
// (every value goes through the device's Set* methods' checks).
void CaptureDeviceState(IDirect3DDevice9* device, DeviceState* state);
void ApplyDeviceState(IDirect3DDevice9* device, const DeviceState& state);

// The GL texture object and the level-0 size of a texture made by this
// device; false for anything else.
bool TextureGlInfo(IDirect3DBaseTexture9* texture, unsigned* glName, UINT* width, UINT* height);

// Writes a whole level of a texture made by this device from R,G,B,A bytes
// (the level's width x height texels, rows top first), as locking it,
// writing every texel and unlocking would, without the locked copy or its
// read-back. Refused with D3DERR_INVALIDCALL where LockRect would refuse.
HRESULT FillTextureLevel(IDirect3DTexture9* texture, UINT level, const uint8_t* rgba);

// Reads a colour surface (back buffer or a texture level) as RGBA bytes,
// top row first. Waits for drawing to finish; meant for tests and captures.
bool ReadSurfacePixels(IDirect3DSurface9* surface, std::vector<uint8_t>* rgba, int* width, int* height);

// One draw as the device saw it, for tests that check what a frame drew
// without guessing from pixels. Vertices are copied only for non-indexed
// draws.
struct DrawRecord {
  IDirect3DSurface9* target;
  IDirect3DBaseTexture9* texture;
  D3DPRIMITIVETYPE type;
  UINT primitives;
  DWORD fvf;
  UINT stride;
  D3DMATRIX world, view, projection;
  DWORD destBlend, zWriteEnable, lighting;
  std::vector<uint8_t> vertices;
};

// Appends every later draw of the device to *log; nullptr stops recording.
void SetDrawLog(IDirect3DDevice9* device, std::vector<DrawRecord>* log);

// What the device asked of OpenGL, counted from one Present to the next
// (benchmarks read the last finished frame's figures).
// With fragment counting on, `fragments` holds the fragments each kind of draw
// wrote (they passed the depth and alpha tests); counting waits for every
// draw to finish, so it is for measuring only.
enum FragmentPass { kLitPass, kAdditivePass, kBlendedPass, kOpaquePass, kScreenPass, kFragmentPassCount };
struct FrameStats {
  unsigned draws, programChanges, uniformCalls, textureBinds, clears;
  unsigned long long vertexBytes, indexBytes;
  unsigned long long fragments[kFragmentPassCount];
};
FrameStats LastFrameStats(IDirect3DDevice9* device);
void SetFragmentCounting(IDirect3DDevice9* device, bool on);
// Measuring only: while on, draws of the passes whose bit (1 << FragmentPass)
// is set in `skipped` are not sent to OpenGL, and Present waits for the
// frame's rendering, so each frame's CPU time is its own and a benchmark can
// weigh each pass by its absence.
void SetPassWeighing(IDirect3DDevice9* device, bool on, unsigned skipped);

// The GL context version CreateDevice asks for. The environment variable
// CORVANE_GL_VERSION ("MAJOR.MINOR") overrides the default 3.3, e.g. to test
// the start-up path when no usable context can be made.
void RequestedGlVersion(int* major, int* minor);

}  // namespace corvane::d3d9
