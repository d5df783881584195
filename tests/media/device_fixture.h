// A window, a device with the game's standing states and the sprite object,
// made once for the media tests; pixels are read back from the back buffer.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "app/app_state.h"
#include "internal/d3d9_device.h"

struct Pixel {
  int r, g, b;
};

class DeviceTest : public ::testing::Test {
 public:
  static void SetUpTestSuite() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "media test window";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, "media test window", "media", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600,
                             NULL, NULL, NULL, NULL);
    Gfx.d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(Gfx.d3d, nullptr);
    D3DPRESENT_PARAMETERS params = {};
    params.BackBufferWidth = 800;
    params.BackBufferHeight = 600;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.BackBufferCount = 1;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.Windowed = TRUE;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D16;
    params.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    Gfx.presentParams = params;
    ASSERT_GE(Gfx.d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                    D3DCREATE_HARDWARE_VERTEXPROCESSING, &Gfx.presentParams,
                                    &Gfx.device),
              0);
    ASSERT_GE(D3DXCreateSprite(Gfx.device, &Gfx.sprite), 0);
    Gfx.sprite->OnResetDevice();
  }

  static void TearDownTestSuite() {
    if (Gfx.sprite) Gfx.sprite->Release();
    if (Gfx.device) Gfx.device->Release();
    if (Gfx.d3d) Gfx.d3d->Release();
    Gfx.sprite = NULL;
    Gfx.device = NULL;
    Gfx.d3d = NULL;
  }

 protected:

  // The standing states start-up sets, then a cleared frame.
  void BeginFrame(D3DCOLOR clear) {
    IDirect3DDevice9* device = Gfx.device;
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->BeginScene();
    device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear, 1.0f, 0);
  }

  // Ends the scene and reads the back buffer back.
  void EndFrame() {
    Gfx.device->EndScene();
    IDirect3DSurface9* backBuffer = NULL;
    Gfx.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    ASSERT_NE(backBuffer, nullptr);
    ASSERT_TRUE(corvane::d3d9::ReadSurfacePixels(backBuffer, &pixels, &width, &height));
    backBuffer->Release();
    Gfx.device->Present(NULL, NULL, NULL, NULL);
  }

  Pixel At(int x, int y) const {
    const uint8_t* p = &pixels[((size_t)y * width + x) * 4];
    return Pixel{p[0], p[1], p[2]};
  }

 public:
  // A managed A8R8G8B8 texture filled by `colour(x, y)`.
  template <typename Fill>
  static IDirect3DTexture9* MakeTexture(UINT w, UINT h, Fill colour) {
    IDirect3DTexture9* texture = NULL;
    D3DXCreateTexture(Gfx.device, w, h, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture);
    if (texture == NULL) return NULL;
    D3DLOCKED_RECT locked;
    texture->LockRect(0, &locked, NULL, 0);
    for (UINT y = 0; y < h; ++y) {
      DWORD* row = (DWORD*)((BYTE*)locked.pBits + y * locked.Pitch);
      for (UINT x = 0; x < w; ++x) row[x] = colour(x, y);
    }
    texture->UnlockRect(0);
    return texture;
  }

 protected:
  static DWORD State(D3DRENDERSTATETYPE state) {
    DWORD value = 0;
    Gfx.device->GetRenderState(state, &value);
    return value;
  }

  static inline HWND window = NULL;
  std::vector<uint8_t> pixels;
  int width = 0, height = 0;
};

#define EXPECT_PIXEL_NEAR(pixel, R, G, B)  \
  do {                                     \
    Pixel p_ = (pixel);                    \
    EXPECT_NEAR(p_.r, (R), 3);             \
    EXPECT_NEAR(p_.g, (G), 3);             \
    EXPECT_NEAR(p_.b, (B), 3);             \
  } while (0)
