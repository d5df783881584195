#include "support/device_test.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "internal/d3d9_device.h"

const char* const TEST_WINDOW_CLASS = "corvane test window";

HWND TestWindow() {
  static HWND window = [] {
    WNDCLASSA registration = {};
    registration.lpfnWndProc = DefWindowProcA;
    registration.lpszClassName = TEST_WINDOW_CLASS;
    RegisterClassA(&registration);
    return CreateWindowExA(0, TEST_WINDOW_CLASS, "test", WS_POPUP, 0, 0, 800, 600, NULL, NULL, NULL, NULL);
  }();
  return window;
}

D3DPRESENT_PARAMETERS GamePresentParameters(UINT width, UINT height) {
  D3DPRESENT_PARAMETERS params = {};
  params.BackBufferWidth = width;
  params.BackBufferHeight = height;
  params.BackBufferFormat = D3DFMT_X8R8G8B8;
  params.SwapEffect = D3DSWAPEFFECT_FLIP;
  params.Windowed = TRUE;
  params.EnableAutoDepthStencil = TRUE;
  params.AutoDepthStencilFormat = D3DFMT_D16;
  params.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  return params;
}

void DeviceTest::SetUp() {
  ASSERT_NE(TestWindow(), nullptr);
  d3d = Direct3DCreate9(D3D_SDK_VERSION);
  ASSERT_NE(d3d, nullptr);
  D3DPRESENT_PARAMETERS params = GamePresentParameters();
  ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, TestWindow(), D3DCREATE_HARDWARE_VERTEXPROCESSING,
                              &params, &device),
            D3D_OK);
  ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
}

void DeviceTest::TearDown() {
  if (backBuffer) backBuffer->Release();
  if (device) device->Release();
  if (d3d) d3d->Release();
}

void DeviceTest::BeginFrame(D3DCOLOR clear) {
  device->BeginScene();
  device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear, 1.0f, 0);
}

void DeviceTest::EndFrame() { device->EndScene(); }

DWORD DeviceTest::Pixel(int x, int y, IDirect3DSurface9* surface) {
  std::vector<uint8_t> rgba;
  int w = 0, h = 0;
  EXPECT_TRUE(corvane::d3d9::ReadSurfacePixels(surface ? surface : backBuffer, &rgba, &w, &h));
  if (x < 0 || y < 0 || x >= w || y >= h) return 0xFFFFFFFF;  // no 0xRRGGBB reads as this
  const uint8_t* p = &rgba[((size_t)y * w + x) * 4];
  return DWORD(p[0]) << 16 | DWORD(p[1]) << 8 | p[2];
}

IDirect3DTexture9* DeviceTest::MakeTexture(UINT width, UINT height, const std::vector<DWORD>& texels) {
  IDirect3DTexture9* texture = NULL;
  if (FAILED(device->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, NULL)))
    return NULL;
  D3DLOCKED_RECT locked;
  texture->LockRect(0, &locked, NULL, 0);
  for (UINT y = 0; y < height; ++y)
    std::memcpy(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch, &texels[y * width], width * 4);
  texture->UnlockRect(0);
  return texture;
}

std::vector<DWORD> DeviceTest::ReadTexels(IDirect3DTexture9* texture, UINT level) {
  D3DSURFACE_DESC desc;
  texture->GetLevelDesc(level, &desc);
  D3DLOCKED_RECT locked;
  std::vector<DWORD> out;
  if (FAILED(texture->LockRect(level, &locked, NULL, D3DLOCK_READONLY))) return out;
  for (UINT y = 0; y < desc.Height; ++y) {
    const DWORD* row = reinterpret_cast<const DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
    out.insert(out.end(), row, row + desc.Width);
  }
  texture->UnlockRect(level);
  return out;
}

bool Near(DWORD got, DWORD want, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(int(got >> shift & 255) - int(want >> shift & 255)) > tolerance) return false;
  return true;
}

testing::AssertionResult NearRgb(const char* gotText, const char*, DWORD got, DWORD want) {
  if (Near(got, want)) return testing::AssertionSuccess();
  char text[64];
  std::snprintf(text, sizeof text, " is %06lX, not %06lX", (unsigned long)got, (unsigned long)want);
  return testing::AssertionFailure() << gotText << text;
}
