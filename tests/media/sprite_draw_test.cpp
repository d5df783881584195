// Sprites and numbers, checked by the pixels they leave in the back buffer,
// and the digit split on its own.
#include <climits>

#include "app/asset_catalogue.h"
#include "media/media_fixture.h"
#include "media/sprite_draw.h"

namespace {

std::vector<int> Digits() {
  return std::vector<int>(DigitBuffer.digits, DigitBuffer.digits + DigitBuffer.digitCount);
}

TEST(SplitDigits, MostSignificantFirstNothingForZeroOrLessAndTenDigitsWhole) {
  SplitDigits(1000);
  EXPECT_EQ(Digits(), (std::vector<int>{1, 0, 0, 0}));
  SplitDigits(2000000000);
  EXPECT_EQ(Digits(), (std::vector<int>{2, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  SplitDigits(INT_MAX);
  EXPECT_EQ(Digits(), (std::vector<int>{2, 1, 4, 7, 4, 8, 3, 6, 4, 7}));
  SplitDigits(7);
  EXPECT_EQ(Digits(), (std::vector<int>{7}));
  for (int i = 1; i < 20; ++i) EXPECT_EQ(DigitBuffer.digits[i], 0);  // the longer value is gone
  for (int value : {0, -5, INT_MIN}) {
    SplitDigits(value);
    EXPECT_EQ(DigitBuffer.digitCount, 0) << value;
  }
}

class Sprites : public MediaTest {
 protected:
  void SetUp() override {
    MediaTest::SetUp();
    white = FillTexture(64, 64, [](UINT, UINT) { return 0xFFFFFFFFu; });
  }
  void TearDown() override {
    if (white) white->Release();
    MediaTest::TearDown();
  }
  void Draw(BlendMode mode, float scaleX, int right, int alpha, int red, int green, int blue,
            IDirect3DTexture9* texture) {
    DrawSprite(mode, 400, 300, 0, 0, scaleX, 1, 1, 0, 0, right, 64, texture, alpha, red, green, blue);
  }
  IDirect3DTexture9* white = NULL;
};

TEST_F(Sprites, OddWidthCentreIsAHalfPixel) {
  BeginFrame(0xFF000000);
  Draw(BLEND_ALPHA, 10.0f, 33, 255, 255, 255, 255, white);  // ten times wider: the half pixel shows as five
  EndFrame();
  // 330 pixels centred on 400 cover 235 to 565; a centre of 16 would give 240 to 570.
  for (int x : {238, 562}) EXPECT_RGB(Pixel(x, 300), 0xFFFFFF) << x;
  for (int x : {232, 568}) EXPECT_RGB(Pixel(x, 300), 0x000000) << x;
  for (int y : {270, 329}) EXPECT_RGB(Pixel(400, y), 0xFFFFFF) << y;
  for (int y : {265, 335}) EXPECT_RGB(Pixel(400, y), 0x000000) << y;
}

TEST_F(Sprites, BlendModesMixAndPutTheirStatesBack) {
  // A half-transparent blue sprite over dark red; before each draw DESTBLEND
  // is SRCCOLOR and depth writes are off, so what is written back shows.
  const struct { BlendMode mode; int pixel; DWORD destBlend, zWrite; } cases[] = {
      {BLEND_ALPHA, 0x320064, D3DBLEND_SRCCOLOR, FALSE},
      {BLEND_ADDITIVE, 0x640064, D3DBLEND_INVSRCALPHA, FALSE},
      {BLEND_ADDITIVE_NO_DEPTH, 0x640064, D3DBLEND_INVSRCALPHA, TRUE}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    BeginFrame(0xFF640000);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_SRCCOLOR);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    Draw(c.mode, 1.0f, 64, 128, 0, 0, 200, white);
    EXPECT_EQ(State(D3DRS_DESTBLEND), c.destBlend);
    EXPECT_EQ(State(D3DRS_ZWRITEENABLE), c.zWrite);
    EndFrame();
    EXPECT_RGB(Pixel(400, 300), c.pixel);
  }
}

TEST_F(Sprites, ColoursWrapAt256AndMissingTexturesShowTheChecker) {
  CreatePlaceholderTexture();
  BeginFrame(0xFF000000);
  Draw(BLEND_ALPHA, 1.0f, 64, 256, 255, 255, 255, white);  // alpha 256 is 0: nothing shows
  Draw(BLEND_ALPHA, 1.0f, 64, 255, 256, 300, 0, white);    // red 256 is 0, green 300 is 44
  DrawSprite(BLEND_ALPHA, 100, 100, 0, 0, 1, 1, 1, 0, 0, 64, 64, NULL, 255, 255, 255, 255);
  EndFrame();
  EXPECT_RGB(Pixel(400, 300), 0x002C00);
  EXPECT_RGB(Pixel(72, 72), 0xFF00FF);  // eight-pixel magenta and black cells
  EXPECT_RGB(Pixel(80, 72), 0x000000);
  ReleasePlaceholderTexture();
}

TEST_F(Sprites, NumbersEndLeftOfXAndStepByScale) {
  // Digit d's cell is the colour (20d, 255, 128).
  tex123 = FillTexture(384, 64, [](UINT x, UINT) { return 0xFF00FF80u | (x / 32 % 10 * 20) << 16; });
  SplitDigits(42);
  BeginFrame(0xFF000000);
  DrawNumber(400, 300, 1, 255, 255, 255);
  EndFrame();
  EXPECT_RGB(Pixel(336, 300), 0x50FF80);  // the 4 centred at 336
  EXPECT_RGB(Pixel(368, 300), 0x28FF80);  // the 2 at 368
  for (int x : {314, 390}) EXPECT_RGB(Pixel(x, 300), 0x000000);
  BeginFrame(0xFF000000);
  DrawNumber(400, 300, 2, 255, 255, 255);  // the first digit stays, the step doubles
  EndFrame();
  EXPECT_RGB(Pixel(336, 300), 0x50FF80);
  EXPECT_RGB(Pixel(400, 300), 0x28FF80);
  tex123->Release();
  tex123 = NULL;
}

}  // namespace
