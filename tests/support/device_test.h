// The fixture for suites that draw or load through a Direct3D device outside
// the game's own start-up: a fresh device for each test on one hidden
// 800 x 600 window, made with the game's present parameters; frames and
// surfaces read back as 0xRRGGBB pixels.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <d3d9.h>

#include <vector>

// The hidden test window's class, for tests that open windows of their own.
extern const char* const TEST_WINDOW_CLASS;
HWND TestWindow();

// The back buffer start-up asks for, at width x height.
D3DPRESENT_PARAMETERS GamePresentParameters(UINT width = 800, UINT height = 600);

class DeviceTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // BeginScene and a clear of target and depth.
  void BeginFrame(D3DCOLOR clear);
  // EndScene; the frame is then read with Pixel.
  void EndFrame();
  // A pixel of `surface` (the back buffer when null) as 0xRRGGBB, read now.
  DWORD Pixel(int x, int y, IDirect3DSurface9* surface = nullptr);
  // A managed one-level A8R8G8B8 texture of 0xAARRGGBB texels, row by row.
  IDirect3DTexture9* MakeTexture(UINT width, UINT height, const std::vector<DWORD>& texels);
  // The texels of one level as 0xAARRGGBB, row by row.
  std::vector<DWORD> ReadTexels(IDirect3DTexture9* texture, UINT level = 0);

  IDirect3D9* d3d = nullptr;
  IDirect3DDevice9* device = nullptr;
  IDirect3DSurface9* backBuffer = nullptr;
};

// Two 0xRRGGBB colours that differ by at most `tolerance` in each channel
// (blending and filtering round-off).
bool Near(DWORD got, DWORD want, int tolerance = 3);
testing::AssertionResult NearRgb(const char* gotText, const char* wantText, DWORD got, DWORD want);
#define EXPECT_RGB(got, want) EXPECT_PRED_FORMAT2(NearRgb, got, want)
