// A device on a hidden 800 x 600 window, created the way start-up does, with
// helpers to draw quads and read pixels back.
#pragma once

#include <d3d9.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "internal/d3d9_device.h"

namespace d3d9test {

struct ColorVertex {  // XYZ | DIFFUSE | TEX1
  float x, y, z;
  D3DCOLOR color;
  float u, v;
};
constexpr DWORD kColorFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct NormalVertex {  // XYZ | NORMAL
  float x, y, z, nx, ny, nz;
};
constexpr DWORD kNormalFvf = D3DFVF_XYZ | D3DFVF_NORMAL;

struct Rgba {
  int r, g, b, a;
};

inline D3DMATRIX Identity() {
  D3DMATRIX m{};
  m._11 = m._22 = m._33 = m._44 = 1.f;
  return m;
}

// Left-handed perspective, 90 degrees vertical, square aspect.
inline D3DMATRIX Perspective90(float zn, float zf) {
  D3DMATRIX m{};
  m._11 = m._22 = 1.f;
  m._33 = zf / (zf - zn);
  m._34 = 1.f;
  m._43 = -zn * zf / (zf - zn);
  return m;
}

// Screen-space projection of a sprite: pixel coordinates in, with D3D9's
// half-pixel shift (left, right, bottom, top = 0.5, 800.5, 600.5, 0.5).
inline D3DMATRIX PixelOrtho(float width, float height) {
  const float l = 0.5f, r = width + 0.5f, b = height + 0.5f, t = 0.5f;
  D3DMATRIX m{};
  m._11 = 2.f / (r - l);
  m._22 = 2.f / (t - b);
  m._33 = 1.f;
  m._41 = (l + r) / (l - r);
  m._42 = (t + b) / (b - t);
  m._44 = 1.f;
  return m;
}

inline LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

inline HWND TestWindow() {
  static HWND window = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = TestWindowProc;
    wc.lpszClassName = "d3d9 test window";
    RegisterClassA(&wc);
    return CreateWindowExA(0, "d3d9 test window", "d3d9", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr,
                           nullptr);
  }();
  return window;
}

inline D3DPRESENT_PARAMETERS GamePresentParameters() {
  D3DPRESENT_PARAMETERS pp{};
  pp.BackBufferWidth = 800;
  pp.BackBufferHeight = 600;
  pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  pp.SwapEffect = D3DSWAPEFFECT_FLIP;
  pp.Windowed = TRUE;
  pp.EnableAutoDepthStencil = TRUE;
  pp.AutoDepthStencilFormat = D3DFMT_D16;
  pp.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  return pp;
}

class DeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(TestWindow(), nullptr);
    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    D3DPRESENT_PARAMETERS pp = GamePresentParameters();
    ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, TestWindow(), D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                &pp, &device),
              D3D_OK);
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    device->BeginScene();
  }
  void TearDown() override {
    if (device) device->EndScene();
    if (backBuffer) backBuffer->Release();
    if (device) device->Release();
    if (d3d) d3d->Release();
  }

  void DrawColorQuad(float x0, float y0, float x1, float y1, float z, D3DCOLOR color) {
    const ColorVertex v[4] = {{x0, y0, z, color, 0, 0}, {x1, y0, z, color, 1, 0},
                              {x1, y1, z, color, 1, 1}, {x0, y1, z, color, 0, 1}};
    device->SetFVF(kColorFvf);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(ColorVertex)), D3D_OK);
  }

  Rgba Pixel(int x, int y, IDirect3DSurface9* surface = nullptr) {
    std::vector<uint8_t> rgba;
    int w = 0, h = 0;
    EXPECT_TRUE(corvane::d3d9::ReadSurfacePixels(surface ? surface : backBuffer, &rgba, &w, &h));
    if (x < 0 || y < 0 || x >= w || y >= h) return {-1, -1, -1, -1};
    const uint8_t* p = &rgba[((size_t)y * w + x) * 4];
    return {p[0], p[1], p[2], p[3]};
  }

  IDirect3D9* d3d = nullptr;
  IDirect3DDevice9* device = nullptr;
  IDirect3DSurface9* backBuffer = nullptr;
};

inline bool Near(const Rgba& got, int r, int g, int b, int tolerance = 2) {
  return std::abs(got.r - r) <= tolerance && std::abs(got.g - g) <= tolerance && std::abs(got.b - b) <= tolerance;
}

inline std::ostream& operator<<(std::ostream& os, const Rgba& c) {
  return os << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

}  // namespace d3d9test

// Checks a pixel's colour to within 2 of (r, g, b).
#define EXPECT_PIXEL(pixel, r, g, b) \
  EXPECT_TRUE(d3d9test::Near(pixel, r, g, b)) << "got " << (pixel) << ", want (" << r << ", " << g << ", " << b << ") "
