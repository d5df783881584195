// Sprites, numbers and the item glow: every flat image the game draws.
#pragma once

#include <d3d9.h>

// How a sprite mixes with what is under it.
enum BlendMode {
  BLEND_ALPHA = 0,              // normal alpha blend
  BLEND_ADDITIVE = 1,           // adds its light
  BLEND_ADDITIVE_NO_DEPTH = 2,  // adds its light, depth writes off
};

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
