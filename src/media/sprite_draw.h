// Sprites, numbers and the item glow: every flat image the game draws.
#pragma once

#include <d3d9.h>

// 0 normal alpha blend, 1 additive, 2 additive with depth writes off.
// Negative values act as 0, values above 2 as 1.
typedef int BlendMode;

struct DigitBufferRecord {
  int digits[20];
  int digitCount;
};
extern DigitBufferRecord DigitBuffer;

// Drawn wherever a picture failed to load, so the gap is plain to see.
extern IDirect3DTexture9* placeholderTexture;
void CreatePlaceholderTexture();
void ReleasePlaceholderTexture();

void DrawSprite(BlendMode blendMode, float x, float y, float z, float angle, float scaleX,
                float scaleY, float scaleZ, int left, int top, int right, int bottom,
                IDirect3DTexture9* texture, int alpha, int red, int green, int blue);
void SplitDigits(int value);
void DrawNumber(float x, float y, float scale, int red, int green, int blue);
void DrawCrossedQuads(int index);
