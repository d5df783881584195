// The fixed-function pipeline against values worked out by hand from the
// Direct3D 9 lighting, fog, texture-stage, blending and depth rules.
#include <cstring>

#include "d3d9/d3d9_fixture.h"
#include "internal/d3d9_device.h"
#include "media/render_values.h"

using namespace d3d9test;

namespace {

class FixedFunctionTest : public D3D9Test {
 protected:
  void SetUp() override {
    D3D9Test::SetUp();
    SetProjection(Identity());
  }

  // One directional white light shining along +z (into the screen).
  void SetLight(float specular) {
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1.f, 1.f, 1.f, 0.f};
    light.Specular = {specular, specular, specular, 0.f};
    light.Direction = {0.f, 0.f, 1.f};
    ASSERT_EQ(device->SetLight(0, &light), D3D_OK);
    device->LightEnable(0, TRUE);
  }

  void SetMaterial(float diffuse, float specular, float power) {
    D3DMATERIAL9 m{};
    m.Diffuse = {diffuse, diffuse, diffuse, 1.f};
    m.Specular = {specular, specular, specular, 1.f};
    m.Power = power;
    device->SetMaterial(&m);
  }

  // A quad filling the screen at depth z whose normal points along nz.
  void DrawNormalQuad(float extent, float z, float nz) {
    const NormalVertex v[4] = {{-extent, -extent, z, 0, 0, nz},
                               {extent, -extent, z, 0, 0, nz},
                               {extent, extent, z, 0, 0, nz},
                               {-extent, extent, z, 0, 0, nz}};
    device->SetFVF(kNormalFvf);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(NormalVertex)), D3D_OK);
  }
};

TEST_F(FixedFunctionTest, DirectionalLightLightsFacesTurnedTowardItOnly) {
  SetLight(0.f);
  SetMaterial(0.5f, 0.f, 0.f);
  ClearTo(0xFF0000FF);
  DrawNormalQuad(1.f, 0.5f, -1.f);  // faces the viewer and the light: N.L = 1
  EXPECT_RGB(Pixel(400, 300), 0x808080);

  ClearTo(0xFF0000FF);
  DrawNormalQuad(1.f, 0.5f, 1.f);  // turned away: only ambient, which is 0
  EXPECT_RGB(Pixel(400, 300), 0x000000);

  // Without LightEnable the same face gets no diffuse light.
  device->LightEnable(0, FALSE);
  ClearTo(0xFF0000FF);
  DrawNormalQuad(1.f, 0.5f, -1.f);
  EXPECT_RGB(Pixel(400, 300), 0x000000);
}

TEST_F(FixedFunctionTest, SpecularHighlightNeedsANonZeroLightSpecular) {
  device->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
  SetMaterial(0.25f, 1.f, 1.f);
  // Lit per vertex. At each corner (+-1, +-1, 0.5) the local viewer sees
  // V = -(1, 1, 0.5) / 1.5 and L = (0, 0, -1), so H = (-1, -1, -2) / sqrt(6)
  // and N.H = 2 / sqrt(6) = 0.8165 for N = (0, 0, -1).
  SetLight(0.f);
  ClearTo(0xFF000000);
  DrawNormalQuad(1.f, 0.5f, -1.f);
  EXPECT_RGB(Pixel(400, 300), 0x404040);

  SetLight(0.5f);  // 0.25 + 0.5 * 0.8165 = 0.658 -> 168
  ClearTo(0xFF000000);
  DrawNormalQuad(1.f, 0.5f, -1.f);
  EXPECT_RGB(Pixel(400, 300), 0xA8A8A8);

  // Turned off, the same light adds nothing.
  device->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
  ClearTo(0xFF000000);
  DrawNormalQuad(1.f, 0.5f, -1.f);
  EXPECT_RGB(Pixel(400, 300), 0x404040);
}

TEST_F(FixedFunctionTest, LinearVertexFogUsesEyeDepthWithAndWithoutLighting) {
  SetProjection(Perspective90(1.f, 1000.f));
  device->SetRenderState(D3DRS_FOGENABLE, TRUE);
  device->SetRenderState(D3DRS_FOGCOLOR, 0xFF000000);
  device->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR);
  device->SetRenderState(D3DRS_FOGSTART, FloatBits(200.f));
  device->SetRenderState(D3DRS_FOGEND, FloatBits(300.f));
  const struct {
    float depth;
    int expected;
  } cases[] = {{200.f, 255}, {250.f, 128}, {300.f, 0}};

  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  for (const auto& c : cases) {
    ClearTo(0xFF0000FF);
    DrawColorQuad(-c.depth, -c.depth, c.depth, c.depth, c.depth, 0xFFFFFFFF);
    EXPECT_RGB(Pixel(400, 300), c.expected * 0x010101u) << "unlit at " << c.depth;
  }

  device->SetRenderState(D3DRS_LIGHTING, TRUE);
  SetLight(0.f);
  SetMaterial(1.f, 0.f, 0.f);
  for (const auto& c : cases) {
    ClearTo(0xFF0000FF);
    DrawNormalQuad(c.depth, c.depth, -1.f);
    EXPECT_RGB(Pixel(400, 300), c.expected * 0x010101u) << "lit at " << c.depth;
  }
}

TEST_F(FixedFunctionTest, NullTextureAndPreLitVerticesGiveTheDiffuseColour) {
  // The start-up stage set-up: MODULATE of texture and diffuse.
  device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  device->SetTexture(0, nullptr);
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  ClearTo(0xFF000000);
  DrawColorQuad(-1, -1, 1, 1, 0.5f, 0xFF336699);
  EXPECT_RGB(Pixel(400, 300), 0x336699);

  // With lighting left on, vertices without normals keep only the (zero)
  // ambient: black.
  device->SetRenderState(D3DRS_LIGHTING, TRUE);
  ClearTo(0xFF0000FF);
  DrawColorQuad(-1, -1, 1, 1, 0.5f, 0xFF336699);
  EXPECT_RGB(Pixel(400, 300), 0x000000);
}

TEST_F(FixedFunctionTest, BlendFactorsMixWithTheTarget) {
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  // Additive: 128 * 128/255 = 64.25 on top of the target.
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  ClearTo(0xFF402010);
  DrawColorQuad(-1, -1, 1, 1, 0.5f, 0x80808080);
  EXPECT_RGB(Pixel(400, 300), 0x806050);

  // The standing blend: the target keeps 127/255 of itself.
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  ClearTo(0xFF402010);
  DrawColorQuad(-1, -1, 1, 1, 0.5f, 0x80808080);
  EXPECT_RGB(Pixel(400, 300), 0x605048);
}

// Measuring only, but a mask that leaves out the wrong draws (or stays set)
// would make the benchmark's pass costs lie.
TEST_F(FixedFunctionTest, PassWeighingLeavesOutOnlyTheSkippedKindOfDraw) {
  using namespace corvane::d3d9;
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  ClearTo(0xFF000000);
  SetPassWeighing(device, true, 1u << kScreenPass);  // the back buffer's draws
  DrawColorQuad(-1, -1, 1, 1, 0.5f, 0xFFFF0000);
  EXPECT_RGB(Pixel(400, 300), 0x000000);
  SetPassWeighing(device, true, ~(1u << kScreenPass));
  DrawColorQuad(-1, -1, 1, 1, 0.5f, 0xFF00FF00);
  EXPECT_RGB(Pixel(400, 300), 0x00FF00);
  SetPassWeighing(device, false, ~0u);
  DrawColorQuad(-1, -1, 1, 1, 0.4f, 0xFF0000FF);
  EXPECT_RGB(Pixel(400, 300), 0x0000FF);
}

TEST_F(FixedFunctionTest, DepthTestAlphaTestAndCulling) {
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  ClearTo(0xFF000000);
  // Default ZFUNC is LESSEQUAL: an equal depth passes, a farther one fails.
  DrawColorQuad(-1, -1, 1, 1, 0.5f, 0xFFFF0000);
  DrawColorQuad(-1, -1, 1, 1, 0.5f, 0xFF00FF00);
  DrawColorQuad(-1, -1, 1, 1, 0.7f, 0xFF0000FF);
  EXPECT_RGB(Pixel(400, 300), 0x00FF00);

  // With depth writes off a near quad shows but hides nothing drawn later.
  device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  DrawColorQuad(-1, -1, 1, 1, 0.2f, 0xFFFFFF00);
  device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  EXPECT_RGB(Pixel(400, 300), 0xFFFF00);
  DrawColorQuad(-1, -1, 1, 1, 0.4f, 0xFF00FFFF);
  EXPECT_RGB(Pixel(400, 300), 0x00FFFF);

  // Alpha test GREATER 0 (as sprites use it) discards alpha-0 pixels, depth
  // included.
  ClearTo(0xFF000000);
  device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
  device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
  device->SetRenderState(D3DRS_ALPHAREF, 0);
  device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
  device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  DrawColorQuad(-1, -1, 1, 1, 0.1f, 0x00FFFFFF);
  DrawColorQuad(-1, -1, 1, 1, 0.5f, 0xFFFF0000);
  EXPECT_RGB(Pixel(400, 300), 0xFF0000);
  device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);

  // Default CULLMODE CCW removes triangles wound counter-clockwise on screen.
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  ClearTo(0xFF000000);
  const ColorVertex ccw[3] = {{-1, -1, 0.5f, 0xFFFFFFFF, 0, 0}, {1, -1, 0.5f, 0xFFFFFFFF, 0, 0},
                              {0, 1, 0.5f, 0xFFFFFFFF, 0, 0}};
  device->SetFVF(kColorFvf);
  device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, ccw, sizeof(ColorVertex));
  EXPECT_RGB(Pixel(400, 300), 0x000000);
  const ColorVertex cw[3] = {ccw[0], ccw[2], ccw[1]};
  device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, cw, sizeof(ColorVertex));
  EXPECT_RGB(Pixel(400, 300), 0xFFFFFF);
}

}  // namespace
