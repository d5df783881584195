// Sprites and numbers, checked by the pixels they leave in the back buffer,
// and the digit split on its own.
#include <climits>

#include "app/asset_catalogue.h"
#include "media/sprite_draw.h"
#include "media/device_fixture.h"

namespace {

IDirect3DTexture9* WhiteTexture() {
  return DeviceTest::MakeTexture(64, 64, [](UINT, UINT) { return (DWORD)0xFFFFFFFF; });
}

TEST(SplitDigitsTest, DigitsMostSignificantFirstAndNothingForZeroOrLess) {
  SplitDigits(1000);
  ASSERT_EQ(DigitBuffer.digitCount, 4);
  EXPECT_EQ(DigitBuffer.digits[0], 1);
  EXPECT_EQ(DigitBuffer.digits[1], 0);
  EXPECT_EQ(DigitBuffer.digits[3], 0);

  SplitDigits(7);  // the longer value's digits are cleared
  ASSERT_EQ(DigitBuffer.digitCount, 1);
  EXPECT_EQ(DigitBuffer.digits[0], 7);
  for (int i = 1; i < 20; ++i) EXPECT_EQ(DigitBuffer.digits[i], 0);

  for (int value : {0, -5, INT_MIN}) {
    SplitDigits(value);
    EXPECT_EQ(DigitBuffer.digitCount, 0) << value;
    EXPECT_EQ(DigitBuffer.digits[0], 0) << value;
  }
}

TEST(SplitDigitsTest, TenDigitValuesSplitWhole) {
  SplitDigits(2000000000);
  ASSERT_EQ(DigitBuffer.digitCount, 10);
  EXPECT_EQ(DigitBuffer.digits[0], 2);
  for (int i = 1; i < 10; ++i) EXPECT_EQ(DigitBuffer.digits[i], 0);

  SplitDigits(INT_MAX);  // 2147483647
  const int expected[10] = {2, 1, 4, 7, 4, 8, 3, 6, 4, 7};
  ASSERT_EQ(DigitBuffer.digitCount, 10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(DigitBuffer.digits[i], expected[i]);
  EXPECT_EQ(DigitBuffer.digits[10], 0);
}

using SpriteTest = DeviceTest;

TEST_F(SpriteTest, SourceCentreIsHalfTheRectangleWithOddWidthsHalved) {
  IDirect3DTexture9* white = WhiteTexture();
  BeginFrame(0xFF000000);
  // Ten times wider, so the half-pixel centre shows as five pixels.
  DrawSprite(0, 400.0f, 300.0f, 0.0f, 0.0f, 10.0f, 1.0f, 1.0f, 0, 0, 33, 64, white, 255, 255, 255,
             255);
  EndFrame();
  // 330 pixels centred on 400: 235 to 565; a centre of 16 would give 240 to 570.
  EXPECT_PIXEL_NEAR(At(238, 300), 255, 255, 255);
  EXPECT_PIXEL_NEAR(At(232, 300), 0, 0, 0);
  EXPECT_PIXEL_NEAR(At(562, 300), 255, 255, 255);
  EXPECT_PIXEL_NEAR(At(568, 300), 0, 0, 0);
  EXPECT_PIXEL_NEAR(At(400, 270), 255, 255, 255);
  EXPECT_PIXEL_NEAR(At(400, 329), 255, 255, 255);
  EXPECT_PIXEL_NEAR(At(400, 335), 0, 0, 0);
  EXPECT_PIXEL_NEAR(At(400, 265), 0, 0, 0);
  white->Release();
}

TEST_F(SpriteTest, BlendModesMixAndPutTheirStatesBack) {
  IDirect3DTexture9* white = WhiteTexture();
  struct Case {
    BlendMode mode;
    int red;  // red of the dark-red background after a half-transparent blue sprite
    DWORD destBlend;
    DWORD zWrite;
  };
  // Before each draw: DESTBLEND at SRCCOLOR and depth writes off, so the
  // written-back values show.
  const Case cases[] = {
      {0, 50, D3DBLEND_SRCCOLOR, FALSE},
      {-1, 50, D3DBLEND_SRCCOLOR, FALSE},
      {1, 100, D3DBLEND_INVSRCALPHA, FALSE},
      {5, 100, D3DBLEND_INVSRCALPHA, FALSE},
      {2, 100, D3DBLEND_INVSRCALPHA, TRUE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    BeginFrame(0xFF640000);
    Gfx.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_SRCCOLOR);
    Gfx.device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    DrawSprite(c.mode, 400.0f, 300.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0, 0, 64, 64, white, 128, 0, 0,
               200);
    EXPECT_EQ(State(D3DRS_DESTBLEND), c.destBlend);
    EXPECT_EQ(State(D3DRS_ZWRITEENABLE), c.zWrite);
    EndFrame();
    EXPECT_PIXEL_NEAR(At(400, 300), c.red, 0, 100);
    EXPECT_PIXEL_NEAR(At(300, 300), 100, 0, 0);
  }
  white->Release();
}

TEST_F(SpriteTest, ColourComponentsAreTakenModulo256) {
  IDirect3DTexture9* white = WhiteTexture();
  BeginFrame(0xFF000000);
  DrawSprite(0, 400.0f, 300.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0, 0, 64, 64, white, 255, 256, 300,
             0);
  // Alpha 256 is alpha 0: nothing shows.
  DrawSprite(0, 200.0f, 300.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0, 0, 64, 64, white, 256, 255, 255,
             255);
  EndFrame();
  EXPECT_PIXEL_NEAR(At(400, 300), 0, 44, 0);
  EXPECT_PIXEL_NEAR(At(200, 300), 0, 0, 0);
  white->Release();
}

TEST_F(SpriteTest, MissingTextureShowsThePlaceholder) {
  CreatePlaceholderTexture();
  ASSERT_NE(placeholderTexture, nullptr);
  BeginFrame(0xFF000000);
  DrawSprite(0, 400.0f, 300.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0, 0, 64, 64, NULL, 255, 255, 255,
             255);
  EndFrame();
  // Eight-pixel magenta and black cells from the sprite's top-left corner.
  EXPECT_PIXEL_NEAR(At(372, 272), 255, 0, 255);
  EXPECT_PIXEL_NEAR(At(380, 272), 0, 0, 0);
  ReleasePlaceholderTexture();
}

// Each digit cell of the strip is a solid colour of its own.
DWORD DigitColour(int digit) { return 0xFF000000 | (DWORD)(digit * 20) << 16 | 0x00FF00 | 0x80; }

TEST_F(SpriteTest, NumbersStartLeftOfXByTheirWidthAndStepByScale) {
  tex123 = MakeTexture(384, 64, [](UINT x, UINT) { return DigitColour((int)(x / 32) % 10); });
  SplitDigits(42);
  BeginFrame(0xFF000000);
  DrawNumber(400.0f, 300.0f, 1.0f, 255, 255, 255);
  EndFrame();
  EXPECT_PIXEL_NEAR(At(336, 300), 80, 255, 128);
  EXPECT_PIXEL_NEAR(At(368, 300), 40, 255, 128);
  EXPECT_PIXEL_NEAR(At(330, 270), 80, 255, 128);
  EXPECT_PIXEL_NEAR(At(314, 300), 0, 0, 0);
  EXPECT_PIXEL_NEAR(At(390, 300), 0, 0, 0);

  // At scale 2 the first digit stays centred at 336 and the step doubles.
  BeginFrame(0xFF000000);
  DrawNumber(400.0f, 300.0f, 2.0f, 255, 255, 255);
  EndFrame();
  EXPECT_PIXEL_NEAR(At(336, 300), 80, 255, 128);
  EXPECT_PIXEL_NEAR(At(400, 300), 40, 255, 128);

  // Nothing at all for zero.
  SplitDigits(0);
  BeginFrame(0xFF000000);
  DrawNumber(400.0f, 300.0f, 1.0f, 255, 255, 255);
  EndFrame();
  EXPECT_PIXEL_NEAR(At(384, 300), 0, 0, 0);
  tex123->Release();
  tex123 = NULL;
}

}  // namespace
