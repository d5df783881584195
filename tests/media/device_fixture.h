// A device with the game's standing blend states and the sprite object, made
// once for the media tests; frames are read back from the back buffer.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "app/app_state.h"
#include "internal/d3d9_device.h"

// Two 0xRRGGBB colours that differ by blending round-off at most.
inline bool Near(int a, int b) {
  for (int shift : {0, 8, 16})
    if (std::abs((a >> shift & 255) - (b >> shift & 255)) > 3) return false;
  return true;
}

class DeviceTest : public ::testing::Test {
 public:
  static void SetUpTestSuite() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "media test";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "media test", "", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, 0, 0, 0, 0);
    Gfx.d3d = Direct3DCreate9(D3D_SDK_VERSION);
    Gfx.presentParams = D3DPRESENT_PARAMETERS();
    Gfx.presentParams.BackBufferWidth = 800;
    Gfx.presentParams.BackBufferHeight = 600;
    Gfx.presentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
    Gfx.presentParams.Windowed = TRUE;
    Gfx.presentParams.EnableAutoDepthStencil = TRUE;
    Gfx.presentParams.AutoDepthStencilFormat = D3DFMT_D16;
    Gfx.d3d->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                          &Gfx.presentParams, &Gfx.device);
    D3DXCreateSprite(Gfx.device, &Gfx.sprite);
  }
  static void TearDownTestSuite() {
    Gfx.sprite->Release();
    Gfx.device->Release();
    Gfx.d3d->Release();
  }

  // A managed A8R8G8B8 texture, texel (x, y) = colour(x, y).
  template <typename Fill>
  static IDirect3DTexture9* MakeTexture(UINT w, UINT h, Fill colour) {
    IDirect3DTexture9* texture = NULL;
    D3DXCreateTexture(Gfx.device, w, h, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture);
    D3DLOCKED_RECT locked;
    texture->LockRect(0, &locked, NULL, 0);
    for (UINT y = 0; y < h; ++y)
      for (UINT x = 0; x < w; ++x) ((DWORD*)((BYTE*)locked.pBits + y * locked.Pitch))[x] = colour(x, y);
    texture->UnlockRect(0);
    return texture;
  }

 protected:
  void SetUp() override { ASSERT_NE(Gfx.sprite, nullptr) << "no device"; }

  void BeginFrame(D3DCOLOR clear) {
    Gfx.device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    Gfx.device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    Gfx.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    Gfx.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    Gfx.device->BeginScene();
    Gfx.device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear, 1.0f, 0);
  }
  void EndFrame() {
    Gfx.device->EndScene();
    IDirect3DSurface9* backBuffer = NULL;
    Gfx.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    ASSERT_TRUE(corvane::d3d9::ReadSurfacePixels(backBuffer, &pixels, &width, &height));
    backBuffer->Release();
  }
  int At(int x, int y) const {  // 0xRRGGBB
    const uint8_t* p = &pixels[((size_t)y * width + x) * 4];
    return p[0] << 16 | p[1] << 8 | p[2];
  }
  static DWORD State(D3DRENDERSTATETYPE state) {
    DWORD value = 0;
    Gfx.device->GetRenderState(state, &value);
    return value;
  }

  std::vector<uint8_t> pixels;
  int width = 0, height = 0;
};
