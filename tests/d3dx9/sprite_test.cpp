// ID3DXSprite by pixel read-back: one-to-one placement, the turning and
// mirroring sense of its transform, depth against 3D geometry, state restore.
#include <d3dx9.h>

#include <cstring>

#include "internal/d3d9_device.h"
#include "support/device_test.h"

namespace {

constexpr DWORD kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

class SpriteTest : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    ASSERT_EQ(D3DXCreateSprite(device, &sprite), D3D_OK);
    // 4x4: a red left column, a blue top-right texel, the rest green.
    std::vector<DWORD> texels(16, kGreen);
    for (int y = 0; y < 4; ++y) texels[y * 4] = kRed;
    texels[3] = kBlue;
    texture = MakeTexture(4, 4, texels);
    ASSERT_NE(texture, nullptr);
  }
  void TearDown() override {
    if (texture) texture->Release();
    if (sprite) sprite->Release();
    DeviceTest::TearDown();
  }
  // The sprite centred on (x, y, z) under scale x angle, as the game draws it.
  void DrawCentred(float x, float y, float z, float degrees, float sx, float sy) {
    D3DXMATRIX s, r, t;
    D3DXMatrixScaling(&s, sx, sy, 1);
    D3DXMatrixRotationZ(&r, D3DXToRadian(degrees));
    D3DXMatrixTranslation(&t, x, y, z);
    D3DXMATRIX m = s * r * t;
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    sprite->SetTransform(&m);
    D3DXVECTOR3 centre(2, 2, 0);
    sprite->Draw(texture, nullptr, &centre, nullptr, kWhite);
    sprite->End();
  }
  // A flat quad over pixels 380..420 x 280..320 at depth `z`, given in
  // clip space through identity transforms.
  void DrawDepthQuad(float z, D3DCOLOR colour) {
    struct V {
      float x, y, z;
      D3DCOLOR c;
    } v[4] = {{-0.05f, 20 / 300.f, z, colour},
              {0.05f, 20 / 300.f, z, colour},
              {0.05f, -20 / 300.f, z, colour},
              {-0.05f, -20 / 300.f, z, colour}};
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    device->SetTransform(D3DTS_WORLD, &identity);
    device->SetTransform(D3DTS_VIEW, &identity);
    device->SetTransform(D3DTS_PROJECTION, &identity);
    device->SetTexture(0, nullptr);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(V));
  }
  ID3DXSprite* sprite = nullptr;
  IDirect3DTexture9* texture = nullptr;
};

// Unturned, texels map one to one around the centre; a positive angle turns
// clockwise (the left column becomes the top row, the top-right texel the
// bottom-right); a negative scale mirrors (red on the right, blue top-left).
TEST_F(SpriteTest, OneToOneAroundItsCentrePositiveAngleTurnsClockwiseNegativeScaleMirrors) {
  BeginFrame(0xFF000000);
  DrawCentred(400, 300, 0, 0, 1, 1);
  DrawCentred(200, 300, 0, 90, 1, 1);
  DrawCentred(600, 300, 0, 0, -1, 1);
  EndFrame();
  const struct { int x, y; DWORD rgb; } expected[] = {
      {398, 298, 0xFF0000}, {401, 298, 0x0000FF}, {399, 301, 0x00FF00},  // texels (0,0), (3,0), (1,3)
      {397, 298, 0}, {402, 298, 0}, {398, 297, 0}, {398, 302, 0},         // and nothing around them
      {198, 298, 0xFF0000}, {201, 298, 0xFF0000}, {201, 301, 0x0000FF}, {198, 301, 0x00FF00},
      {601, 300, 0xFF0000}, {598, 298, 0x0000FF}};
  for (const auto& e : expected) EXPECT_EQ(Pixel(e.x, e.y), e.rgb) << e.x << "," << e.y;
}

TEST_F(SpriteTest, SpriteDepthTakesPartInTheDepthTest) {
  BeginFrame(0xFF000000);
  DrawCentred(400, 300, 0, 0, 5, 5);  // 390..410 x 290..310 at depth 0
  DrawDepthQuad(0.5f, 0xFFFFFFFF);    // drawn later but behind the sprite
  DrawDepthQuad(0.2f, 0xFFFFFF00);
  DrawCentred(400, 300, 0.9f, 0, 1, 1);  // behind the first sprite
  DrawCentred(384, 300, 0.9f, 0, 1, 1);  // behind the yellow quad
  EndFrame();
  EXPECT_EQ(Pixel(392, 300), 0xFF0000u);  // big sprite's red column survives the quads
  EXPECT_EQ(Pixel(405, 300), 0x00FF00u);
  EXPECT_EQ(Pixel(398, 298), 0x00FF00u);  // not the hidden small sprite's red
  EXPECT_EQ(Pixel(382, 298), 0xFFFF00u);  // the nearer quad hides the far sprite
  EXPECT_EQ(Pixel(385, 315), 0xFFFF00u);
}

TEST_F(SpriteTest, BeginLeavesDepthStatesAndEndRestoresTheDeviceState) {
  device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
  device->SetRenderState(D3DRS_LIGHTING, TRUE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
  D3DXMATRIX world;
  D3DXMatrixTranslation(&world, 1, 2, 3);
  device->SetTransform(D3DTS_WORLD, &world);
  corvane::d3d9::DeviceState before, after;
  corvane::d3d9::CaptureDeviceState(device, &before);

  sprite->Begin(D3DXSPRITE_ALPHABLEND);
  DWORD v = 0;
  device->GetRenderState(D3DRS_ZWRITEENABLE, &v);
  EXPECT_EQ(v, DWORD(FALSE));
  device->GetRenderState(D3DRS_ZFUNC, &v);
  EXPECT_EQ(v, DWORD(D3DCMP_ALWAYS));
  device->GetRenderState(D3DRS_LIGHTING, &v);
  EXPECT_EQ(v, DWORD(FALSE));
  device->GetRenderState(D3DRS_ALPHAFUNC, &v);
  EXPECT_EQ(v, DWORD(D3DCMP_GREATER));
  D3DXMATRIX projection, expected;
  device->GetTransform(D3DTS_PROJECTION, &projection);
  D3DXMatrixOrthoOffCenterLH(&expected, 0.5f, 800.5f, 600.5f, 0.5f, 0.0f, 1.0f);
  EXPECT_TRUE(projection == expected);
  D3DXVECTOR3 centre(2, 2, 0), position(100, 100, 0);
  sprite->Draw(texture, nullptr, &centre, &position, kWhite);
  device->SetRenderState(D3DRS_FOGENABLE, TRUE);  // rolled back by End as well
  sprite->End();

  corvane::d3d9::CaptureDeviceState(device, &after);
  EXPECT_EQ(0, std::memcmp(before.renderStates, after.renderStates, sizeof before.renderStates));
  EXPECT_EQ(0, std::memcmp(before.stageStates, after.stageStates, sizeof before.stageStates));
  EXPECT_EQ(0, std::memcmp(before.samplerStates, after.samplerStates, sizeof before.samplerStates));
  EXPECT_EQ(0, std::memcmp(&before.world, &after.world, sizeof before.world));
  EXPECT_EQ(0, std::memcmp(&before.projection, &after.projection, sizeof before.projection));
  EXPECT_EQ(before.textures[0], after.textures[0]);
  EXPECT_EQ(before.fvf, after.fvf);
  device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
}

}  // namespace
