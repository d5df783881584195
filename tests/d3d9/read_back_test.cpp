// Read-back after presentation: a frame that only clears must read back as
// the clear colour everywhere, whatever the previous frames drew (the
// software rasteriser works in tiles on several threads).
#include <epoxy/gl.h>

#include "d3d9/d3d9_fixture.h"
#include "internal/d3d9_device.h"

using namespace d3d9test;

namespace {

class ReadBackTest : public D3D9Test {
 protected:
  void SetUp() override {
    D3D9Test::SetUp();
    SetProjection(PixelOrtho(800, 600));
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
  }

  // Every 50th pixel of the back buffer that is not `rgb`.
  int PixelsOtherThan(DWORD rgb) {
    std::vector<uint8_t> rgba;
    int w = 0, h = 0;
    EXPECT_TRUE(corvane::d3d9::ReadSurfacePixels(backBuffer, &rgba, &w, &h));
    int wrong = 0;
    for (int y = 0; y < h; y += 50)
      for (int x = 0; x < w; x += 50) {
        const uint8_t* p = &rgba[((size_t)y * w + x) * 4];
        wrong += !Near(DWORD(p[0]) << 16 | p[1] << 8 | p[2], rgb);
      }
    return wrong;
  }
};

TEST_F(ReadBackTest, ClearOnlyFrameAfterDrawnFramesReadsBackAsTheClearColourEverywhere) {
  for (int round = 0; round < 8; ++round) {
    for (int frame = 0; frame < 3; ++frame) {
      device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.f, 0);
      for (int i = 0; i < 20; ++i) DrawColorQuad(0, 0, 800, 600, 0.5f, 0xFFFF00FF);
      device->EndScene();
      device->Present(nullptr, nullptr, nullptr, nullptr);
      device->BeginScene();
    }
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.f, 0);
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(PixelsOtherThan(0x0000FF), 0) << "round " << round;
    device->BeginScene();
  }
}

}  // namespace
