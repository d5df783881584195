// The media suite's fixture: the test device stands in as the game's own,
// with its sprite object and the game's standing blend states.
#pragma once

#include <d3dx9.h>

#include <functional>

#include "app/app_state.h"
#include "support/device_test.h"

class MediaTest : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    Gfx.d3d = d3d;
    Gfx.device = device;
    ASSERT_EQ(D3DXCreateSprite(device, &Gfx.sprite), D3D_OK);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  }
  void TearDown() override {
    if (Gfx.sprite) Gfx.sprite->Release();
    Gfx.sprite = NULL;
    Gfx.device = NULL;
    Gfx.d3d = NULL;
    DeviceTest::TearDown();
  }
  // A w x h texture, texel (x, y) = colour(x, y).
  IDirect3DTexture9* FillTexture(UINT w, UINT h, const std::function<DWORD(UINT, UINT)>& colour) {
    std::vector<DWORD> texels;
    for (UINT y = 0; y < h; ++y)
      for (UINT x = 0; x < w; ++x) texels.push_back(colour(x, y));
    return MakeTexture(w, h, texels);
  }
  DWORD State(D3DRENDERSTATETYPE state) {
    DWORD value = 0;
    device->GetRenderState(state, &value);
    return value;
  }
};
