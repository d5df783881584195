// Values as the game hands them to Direct3D: its vertex record for hand-built
// quads, the colour packing every colour goes through (each component masked
// to 8 bits), angles in radians and floats in render states.
#pragma once

#include <cstring>

#include <d3d9.h>
#include <d3dx9.h>

constexpr DWORD QUAD_FVF = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct QuadVertex {
  D3DXVECTOR3 position;
  D3DCOLOR diffuse;
  D3DXVECTOR2 texcoord;
};
static_assert(sizeof(QuadVertex) == 24, "QuadVertex must match QUAD_FVF's 24-byte stride");

inline D3DCOLOR PackColor(int a, int r, int g, int b) {
  return ((DWORD)(a & 255) << 24) | ((DWORD)(r & 255) << 16) | ((DWORD)(g & 255) << 8) |
         (DWORD)(b & 255);
}

// Degrees to the radians D3DX takes, formed at higher precision and rounded
// to a float as the game always does.
inline float ToRadians(float degrees) { return (float)((double)degrees * (double)0.017453292f); }

// A float render state (fog range, say) passes its bits as a DWORD.
inline DWORD FloatBits(float value) {
  DWORD bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}
