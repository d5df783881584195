// Render targets, textures, pixel placement, presentation and device
// creation.
#include <epoxy/gl.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "d3d9/d3d9_fixture.h"
#include "internal/d3d9_device.h"

using namespace d3d9test;

namespace {

// Unlit quads placed in pixels.
class SurfaceTest : public D3D9Test {
 protected:
  void SetUp() override {
    D3D9Test::SetUp();
    SetProjection(PixelOrtho(800, 600));
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
  }
};

TEST_F(SurfaceTest, IntegerPixelCoordinatesCoverExactlyThosePixels) {
  ClearTo(0xFF000000);
  DrawColorQuad(10, 20, 11, 21, 0.5f, 0xFFFFFFFF);
  EXPECT_RGB(Pixel(10, 20), 0xFFFFFF);
  for (auto [x, y] : {std::pair{9, 20}, {11, 20}, {10, 19}, {10, 21}})
    EXPECT_RGB(Pixel(x, y), 0x000000) << x << "," << y;

  DrawColorQuad(100, 100, 104, 102, 0.5f, 0xFFFF0000);
  EXPECT_RGB(Pixel(100, 100), 0xFF0000);
  EXPECT_RGB(Pixel(103, 101), 0xFF0000);
  for (auto [x, y] : {std::pair{99, 100}, {104, 100}, {100, 99}, {100, 102}})
    EXPECT_RGB(Pixel(x, y), 0x000000) << x << "," << y;
}

TEST_F(SurfaceTest, RenderTargetTextureKeepsItsOrientationAsASpriteSource) {
  IDirect3DTexture9* texture = nullptr;
  IDirect3DSurface9 *target = nullptr, *depth = nullptr, *backDepth = nullptr;
  ASSERT_EQ(device->CreateTexture(64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture,
                                  nullptr),
            D3D_OK);
  ASSERT_EQ(texture->GetSurfaceLevel(0, &target), D3D_OK);
  ASSERT_EQ(device->CreateDepthStencilSurface(64, 64, D3DFMT_D16, D3DMULTISAMPLE_NONE, 0, FALSE, &depth, nullptr),
            D3D_OK);
  device->GetDepthStencilSurface(&backDepth);

  device->SetRenderTarget(0, target);
  device->SetDepthStencilSurface(depth);
  D3DVIEWPORT9 vp{};
  device->GetViewport(&vp);
  EXPECT_EQ(vp.Width, 64u);  // a new render target resets the viewport to its size
  EXPECT_EQ(vp.Height, 64u);
  SetProjection(PixelOrtho(64, 64));
  ClearTo(0xFFFF0000);
  DrawColorQuad(0, 0, 64, 32, 0.5f, 0xFF00FF00);
  EXPECT_RGB(Pixel(5, 5, target), 0x00FF00);
  EXPECT_RGB(Pixel(5, 60, target), 0xFF0000);

  device->SetRenderTarget(0, backBuffer);
  device->SetDepthStencilSurface(backDepth);
  SetProjection(PixelOrtho(800, 600));
  ClearTo(0xFF000000);
  device->SetTexture(0, texture);
  DrawColorQuad(0, 0, 800, 600, 0.5f, 0xFFFFFFFF);  // v = 0 at the top
  EXPECT_RGB(Pixel(400, 100), 0x00FF00);
  EXPECT_RGB(Pixel(400, 500), 0xFF0000);
  device->SetTexture(0, nullptr);

  backDepth->Release();
  depth->Release();
  target->Release();
  texture->Release();
}

TEST_F(SurfaceTest, LockedTexelsKeepRowZeroAtTheTopAndXrgbIsOpaque) {
  IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
  D3DLOCKED_RECT locked{};
  ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
  // B, G, R, A bytes; the alpha byte is 0 but the format has no alpha.
  const uint8_t top[8] = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0};       // blue
  const uint8_t bottom[8] = {0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0};  // yellow
  std::memcpy(locked.pBits, top, 8);
  std::memcpy(static_cast<uint8_t*>(locked.pBits) + locked.Pitch, bottom, 8);
  ASSERT_EQ(texture->UnlockRect(0), D3D_OK);

  device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
  device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
  device->SetTexture(0, texture);
  ClearTo(0xFF000000);
  DrawColorQuad(0, 0, 800, 600, 0.5f, 0xFFFFFFFF);
  EXPECT_RGB(Pixel(400, 100), 0x0000FF);
  EXPECT_RGB(Pixel(400, 500), 0xFFFF00);
  device->SetTexture(0, nullptr);

  D3DSURFACE_DESC desc{};
  texture->GetLevelDesc(0, &desc);
  EXPECT_EQ(desc.Width, 2u);
  EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
  texture->Release();
}

// A lock sees what was uploaded before; a new level 0 leaves the lower
// levels to be generated from it, except those written after it (by a lock
// or by the loaders' fill, whose bytes are R,G,B,A).
TEST_F(SurfaceTest, LocksReadBackAndOnlyLevelsNotUploadedAreGenerated) {
  IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(device->CreateTexture(4, 4, 3, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
  auto fill = [&](UINT level, D3DCOLOR color) {
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(level, &locked, nullptr, 0), D3D_OK);
    for (UINT i = 0; i < (4u >> level) * (4u >> level); ++i) static_cast<D3DCOLOR*>(locked.pBits)[i] = color;
    ASSERT_EQ(texture->UnlockRect(level), D3D_OK);
  };
  auto first = [&](UINT level) {
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    const D3DCOLOR color = locked.pBits ? *static_cast<D3DCOLOR*>(locked.pBits) : 0;
    texture->UnlockRect(level);
    return color;
  };
  fill(0, 0xFFFF0000);
  fill(1, 0xFF00FF00);
  EXPECT_EQ(first(0), 0xFFFF0000u);
  EXPECT_EQ(first(1), 0xFF00FF00u);  // uploaded after level 0: kept
  EXPECT_EQ(first(2), 0xFFFF0000u);  // generated from level 0
  fill(0, 0xFF0000FF);
  EXPECT_EQ(first(1), 0xFF0000FFu);  // stale again, so generated

  const std::vector<uint8_t> rgba = {0x11, 0x22, 0x33, 0x44, 0x11, 0x22, 0x33, 0x44,
                                     0x11, 0x22, 0x33, 0x44, 0x11, 0x22, 0x33, 0x44};
  fill(0, 0xFF0000FF);
  ASSERT_EQ(corvane::d3d9::FillTextureLevel(texture, 1, rgba.data()), D3D_OK);
  EXPECT_EQ(first(1), 0x44112233u);  // filled after level 0: kept
  EXPECT_EQ(first(2), 0xFF0000FFu);
  D3DLOCKED_RECT locked{};
  ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
  EXPECT_EQ(corvane::d3d9::FillTextureLevel(texture, 1, rgba.data()), D3DERR_INVALIDCALL);
  texture->UnlockRect(0);
  EXPECT_EQ(corvane::d3d9::FillTextureLevel(texture, 3, rgba.data()), D3DERR_INVALIDCALL);
  texture->Release();
}

// Streamed data larger than the stream ring gets a buffer of its own, the
// ring goes on after it, and only a draw beyond 4 MiB is refused.
TEST_F(SurfaceTest, DrawsLargerThanTheStreamRingDrawWhole) {
  ClearTo(0xFF000000);
  device->SetFVF(kColorFvf);
  // 2.9 MiB of degenerate triangles, the last covering pixel (5, 5).
  std::vector<ColorVertex> list(3 * 40001, ColorVertex{0, 0, 0.5f, 0xFF0000FF, 0, 0});
  list[list.size() - 3] = {4, 4, 0.5f, 0xFFFF0000, 0, 0};
  list[list.size() - 2] = {8, 4, 0.5f, 0xFFFF0000, 0, 0};
  list[list.size() - 1] = {4, 8, 0.5f, 0xFFFF0000, 0, 0};
  ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 40001, list.data(), sizeof(ColorVertex)), D3D_OK);
  // 1.5 MiB of indices, all but the last triangle degenerate.
  const ColorVertex quad[3] = {{30, 30, 0.5f, 0xFF00FF00, 0, 0}, {34, 30, 0.5f, 0xFF00FF00, 0, 0},
                               {30, 34, 0.5f, 0xFF00FF00, 0, 0}};
  std::vector<uint16_t> indices(3 * 260001, 0);
  indices[indices.size() - 2] = 1, indices[indices.size() - 1] = 2;
  ASSERT_EQ(device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 3, 260001, indices.data(), D3DFMT_INDEX16, quad,
                                           sizeof(ColorVertex)),
            D3D_OK);
  DrawColorQuad(50, 50, 52, 52, 0.5f, 0xFFFFFFFF);
  EXPECT_RGB(Pixel(5, 5), 0xFF0000);
  EXPECT_RGB(Pixel(31, 31), 0x00FF00);
  EXPECT_RGB(Pixel(50, 50), 0xFFFFFF);
  list.resize(3 * 58255);  // 4 MiB and 24 bytes
  EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 58255, list.data(), sizeof(ColorVertex)), D3DERR_INVALIDCALL);
}

TEST(Presentation, PresentLetterboxesIntoAWideWindowAndResetKeepsTheBackBuffer) {
  ASSERT_NE(TestWindow(), nullptr);  // registers the window class
  HWND wide = CreateWindowExA(0, TEST_WINDOW_CLASS, "wide", WS_POPUP, 0, 0, 1000, 600, nullptr, nullptr, nullptr,
                              nullptr);
  ASSERT_NE(wide, nullptr);
  IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  D3DPRESENT_PARAMETERS pp = GamePresentParameters();
  IDirect3DDevice9* device = nullptr;
  ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, wide, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp,
                              &device),
            D3D_OK);
  device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.f, 0);
  ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  // 600 high keeps 800 wide: black bars of 100 pixels either side.
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  auto windowPixel = [](int x, int y) {
    uint8_t p[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return (int)p[0];
  };
  EXPECT_EQ(windowPixel(50, 300), 0);
  EXPECT_EQ(windowPixel(150, 300), 255);
  EXPECT_EQ(windowPixel(850, 300), 255);
  EXPECT_EQ(windowPixel(950, 300), 0);

  EXPECT_EQ(device->Reset(&pp), D3D_OK);
  IDirect3DSurface9* backBuffer = nullptr;
  device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
  D3DSURFACE_DESC desc{};
  backBuffer->GetDesc(&desc);
  EXPECT_EQ(desc.Width, 800u);
  EXPECT_EQ(desc.Height, 600u);
  backBuffer->Release();
  device->Release();
  d3d->Release();
  DestroyWindow(wide);
}

TEST_F(SurfaceTest, ResourcesKeepTheDeviceAliveAndStateRoundTrips) {
  const ULONG base = device->AddRef() - 1;
  device->Release();
  IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(device->CreateTexture(8, 8, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
  EXPECT_EQ(texture->GetLevelCount(), 4u);  // 8, 4, 2, 1
  EXPECT_EQ(device->AddRef(), base + 2);
  device->Release();
  // A level counts on its texture; a depth surface holds the device until its last Release.
  IDirect3DSurface9* level = nullptr;
  ASSERT_EQ(texture->GetSurfaceLevel(1, &level), D3D_OK);
  EXPECT_EQ(level->Release(), 1u);
  IDirect3DSurface9* depth = nullptr;
  ASSERT_EQ(device->CreateDepthStencilSurface(8, 8, D3DFMT_D16, D3DMULTISAMPLE_NONE, 0, FALSE, &depth, nullptr),
            D3D_OK);
  EXPECT_EQ(device->AddRef(), base + 3);
  device->Release();
  EXPECT_EQ(depth->Release(), 0u);

  corvane::d3d9::DeviceState saved;
  corvane::d3d9::CaptureDeviceState(device, &saved);
  device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
  device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
  device->SetTexture(0, texture);
  const D3DMATRIX scale = [] {
    D3DMATRIX m = Identity();
    m._11 = 3.f;
    return m;
  }();
  device->SetTransform(D3DTS_WORLD, &scale);
  corvane::d3d9::ApplyDeviceState(device, saved);
  DWORD value = 0;
  device->GetRenderState(D3DRS_ZFUNC, &value);
  EXPECT_EQ(value, (DWORD)D3DCMP_LESSEQUAL);
  device->GetSamplerState(0, D3DSAMP_ADDRESSU, &value);
  EXPECT_EQ(value, (DWORD)D3DTADDRESS_WRAP);
  IDirect3DBaseTexture9* bound = texture;
  device->GetTexture(0, &bound);
  EXPECT_EQ(bound, nullptr);
  D3DMATRIX world{};
  device->GetTransform(D3DTS_WORLD, &world);
  EXPECT_EQ(world._11, 1.f);

  EXPECT_EQ(texture->Release(), 0u);
  EXPECT_EQ(device->AddRef(), base + 1);
  device->Release();
}

TEST(DeviceCreation, EveryAttemptFailsCleanlyWithoutAUsableContext) {
  ASSERT_NE(TestWindow(), nullptr);
  IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  ASSERT_NE(d3d, nullptr);
  setenv("CORVANE_GL_VERSION", "9.9", 1);
  const struct {
    D3DDEVTYPE type;
    DWORD flags;
  } attempts[] = {{D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
                  {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
                  {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING}};
  for (const auto& attempt : attempts) {
    D3DPRESENT_PARAMETERS pp = GamePresentParameters();
    IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(1);
    EXPECT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, attempt.type, TestWindow(), attempt.flags, &pp, &device),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device, nullptr);
  }
  unsetenv("CORVANE_GL_VERSION");

  // The same window still takes a device afterwards.
  D3DPRESENT_PARAMETERS pp = GamePresentParameters();
  IDirect3DDevice9* device = nullptr;
  ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, TestWindow(), D3DCREATE_HARDWARE_VERTEXPROCESSING,
                              &pp, &device),
            D3D_OK);
  EXPECT_EQ(device->Release(), 0u);
  EXPECT_EQ(d3d->Release(), 0u);
}

}  // namespace
