// The Direct3D 9 suite's fixture: the test device with a scene begun, quads
// drawn in one colour, and the matrices the cases need.
#pragma once

#include "support/device_test.h"

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

// Identity world and view, unculled, with a scene begun.
class D3D9Test : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    const D3DMATRIX identity = Identity();
    device->SetTransform(D3DTS_WORLD, &identity);
    device->SetTransform(D3DTS_VIEW, &identity);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->BeginScene();
  }
  void TearDown() override {
    if (device) device->EndScene();
    DeviceTest::TearDown();
  }
  void SetProjection(const D3DMATRIX& projection) { device->SetTransform(D3DTS_PROJECTION, &projection); }
  void ClearTo(D3DCOLOR color) { device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, color, 1.f, 0); }
  void DrawColorQuad(float x0, float y0, float x1, float y1, float z, D3DCOLOR color) {
    const ColorVertex v[4] = {{x0, y0, z, color, 0, 0}, {x1, y0, z, color, 1, 0},
                              {x1, y1, z, color, 1, 1}, {x0, y1, z, color, 0, 1}};
    device->SetFVF(kColorFvf);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(ColorVertex)), D3D_OK);
  }
};

}  // namespace d3d9test
