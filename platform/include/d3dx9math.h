// D3DX 9 math: vectors, matrices and the helpers the game uses.
// Row vectors (v' = v * M), m[row][col], translation in row 3.
#pragma once

#include <cmath>

#include <windows.h>
#if __has_include(<d3d9.h>)
#include <d3d9.h>
#elif __has_include(<d3d9types.h>)
#include <d3d9types.h>
#else
// Enough of d3d9types.h for the math until the device header is present.
#ifndef D3DVECTOR_DEFINED
typedef struct _D3DVECTOR { float x, y, z; } D3DVECTOR;
#define D3DVECTOR_DEFINED
#endif
#ifndef D3DMATRIX_DEFINED
typedef struct _D3DMATRIX {
  union {
    struct {
      float _11, _12, _13, _14;
      float _21, _22, _23, _24;
      float _31, _32, _33, _34;
      float _41, _42, _43, _44;
    };
    float m[4][4];
  };
} D3DMATRIX;
#define D3DMATRIX_DEFINED
#endif
typedef struct _D3DVIEWPORT9 {
  DWORD X, Y, Width, Height;
  float MinZ, MaxZ;
} D3DVIEWPORT9;
#endif

#define D3DX_PI ((FLOAT)3.141592654)
#define D3DX_1BYPI ((FLOAT)0.318309886)
#define D3DXToRadian(degree) ((degree) * (D3DX_PI / 180.0f))
#define D3DXToDegree(radian) ((radian) * (180.0f / D3DX_PI))

typedef struct D3DXVECTOR2 {
  D3DXVECTOR2() {}
  D3DXVECTOR2(const FLOAT* pf) : x(pf[0]), y(pf[1]) {}
  D3DXVECTOR2(FLOAT fx, FLOAT fy) : x(fx), y(fy) {}

  operator FLOAT*() { return &x; }
  operator const FLOAT*() const { return &x; }

  D3DXVECTOR2& operator+=(const D3DXVECTOR2& v) { x += v.x; y += v.y; return *this; }
  D3DXVECTOR2& operator-=(const D3DXVECTOR2& v) { x -= v.x; y -= v.y; return *this; }
  D3DXVECTOR2& operator*=(FLOAT f) { x *= f; y *= f; return *this; }
  D3DXVECTOR2& operator/=(FLOAT f) { x /= f; y /= f; return *this; }

  D3DXVECTOR2 operator+() const { return *this; }
  D3DXVECTOR2 operator-() const { return D3DXVECTOR2(-x, -y); }
  D3DXVECTOR2 operator+(const D3DXVECTOR2& v) const { return D3DXVECTOR2(x + v.x, y + v.y); }
  D3DXVECTOR2 operator-(const D3DXVECTOR2& v) const { return D3DXVECTOR2(x - v.x, y - v.y); }
  D3DXVECTOR2 operator*(FLOAT f) const { return D3DXVECTOR2(x * f, y * f); }
  D3DXVECTOR2 operator/(FLOAT f) const { return D3DXVECTOR2(x / f, y / f); }
  friend D3DXVECTOR2 operator*(FLOAT f, const D3DXVECTOR2& v) { return v * f; }

  BOOL operator==(const D3DXVECTOR2& v) const { return x == v.x && y == v.y; }
  BOOL operator!=(const D3DXVECTOR2& v) const { return !(*this == v); }

  FLOAT x, y;
} D3DXVECTOR2, *LPD3DXVECTOR2;

typedef struct D3DXVECTOR3 : public D3DVECTOR {
  D3DXVECTOR3() {}
  D3DXVECTOR3(const FLOAT* pf) { x = pf[0]; y = pf[1]; z = pf[2]; }
  D3DXVECTOR3(const D3DVECTOR& v) { x = v.x; y = v.y; z = v.z; }
  D3DXVECTOR3(FLOAT fx, FLOAT fy, FLOAT fz) { x = fx; y = fy; z = fz; }

  operator FLOAT*() { return &x; }
  operator const FLOAT*() const { return &x; }

  D3DXVECTOR3& operator+=(const D3DXVECTOR3& v) { x += v.x; y += v.y; z += v.z; return *this; }
  D3DXVECTOR3& operator-=(const D3DXVECTOR3& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
  D3DXVECTOR3& operator*=(FLOAT f) { x *= f; y *= f; z *= f; return *this; }
  D3DXVECTOR3& operator/=(FLOAT f) { x /= f; y /= f; z /= f; return *this; }

  D3DXVECTOR3 operator+() const { return *this; }
  D3DXVECTOR3 operator-() const { return D3DXVECTOR3(-x, -y, -z); }
  D3DXVECTOR3 operator+(const D3DXVECTOR3& v) const { return D3DXVECTOR3(x + v.x, y + v.y, z + v.z); }
  D3DXVECTOR3 operator-(const D3DXVECTOR3& v) const { return D3DXVECTOR3(x - v.x, y - v.y, z - v.z); }
  D3DXVECTOR3 operator*(FLOAT f) const { return D3DXVECTOR3(x * f, y * f, z * f); }
  D3DXVECTOR3 operator/(FLOAT f) const { return D3DXVECTOR3(x / f, y / f, z / f); }
  friend D3DXVECTOR3 operator*(FLOAT f, const D3DXVECTOR3& v) { return v * f; }

  BOOL operator==(const D3DXVECTOR3& v) const { return x == v.x && y == v.y && z == v.z; }
  BOOL operator!=(const D3DXVECTOR3& v) const { return !(*this == v); }
} D3DXVECTOR3, *LPD3DXVECTOR3;

typedef struct D3DXVECTOR4 {
  D3DXVECTOR4() {}
  D3DXVECTOR4(const FLOAT* pf) : x(pf[0]), y(pf[1]), z(pf[2]), w(pf[3]) {}
  D3DXVECTOR4(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw) : x(fx), y(fy), z(fz), w(fw) {}

  operator FLOAT*() { return &x; }
  operator const FLOAT*() const { return &x; }

  D3DXVECTOR4 operator+(const D3DXVECTOR4& v) const { return D3DXVECTOR4(x + v.x, y + v.y, z + v.z, w + v.w); }
  D3DXVECTOR4 operator-(const D3DXVECTOR4& v) const { return D3DXVECTOR4(x - v.x, y - v.y, z - v.z, w - v.w); }
  D3DXVECTOR4 operator*(FLOAT f) const { return D3DXVECTOR4(x * f, y * f, z * f, w * f); }
  BOOL operator==(const D3DXVECTOR4& v) const { return x == v.x && y == v.y && z == v.z && w == v.w; }
  BOOL operator!=(const D3DXVECTOR4& v) const { return !(*this == v); }

  FLOAT x, y, z, w;
} D3DXVECTOR4, *LPD3DXVECTOR4;

struct D3DXMATRIX;
D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2);

typedef struct D3DXMATRIX : public D3DMATRIX {
  D3DXMATRIX() {}
  D3DXMATRIX(const FLOAT* pf) { std::memcpy(&_11, pf, sizeof(D3DMATRIX)); }
  D3DXMATRIX(const D3DMATRIX& mat) { std::memcpy(&_11, &mat, sizeof(D3DMATRIX)); }
  D3DXMATRIX(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14,
             FLOAT f21, FLOAT f22, FLOAT f23, FLOAT f24,
             FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34,
             FLOAT f41, FLOAT f42, FLOAT f43, FLOAT f44) {
    _11 = f11; _12 = f12; _13 = f13; _14 = f14;
    _21 = f21; _22 = f22; _23 = f23; _24 = f24;
    _31 = f31; _32 = f32; _33 = f33; _34 = f34;
    _41 = f41; _42 = f42; _43 = f43; _44 = f44;
  }

  FLOAT& operator()(UINT row, UINT col) { return m[row][col]; }
  FLOAT operator()(UINT row, UINT col) const { return m[row][col]; }

  operator FLOAT*() { return &_11; }
  operator const FLOAT*() const { return &_11; }

  D3DXMATRIX& operator*=(const D3DXMATRIX& mat) { D3DXMatrixMultiply(this, this, &mat); return *this; }
  D3DXMATRIX& operator+=(const D3DXMATRIX& mat) { Apply(mat, 1.0f); return *this; }
  D3DXMATRIX& operator-=(const D3DXMATRIX& mat) { Apply(mat, -1.0f); return *this; }
  D3DXMATRIX& operator*=(FLOAT f) { Scale(f); return *this; }
  D3DXMATRIX& operator/=(FLOAT f) { Scale(1.0f / f); return *this; }

  D3DXMATRIX operator+() const { return *this; }
  D3DXMATRIX operator-() const { D3DXMATRIX r(*this); r.Scale(-1.0f); return r; }
  D3DXMATRIX operator*(const D3DXMATRIX& mat) const { D3DXMATRIX r; D3DXMatrixMultiply(&r, this, &mat); return r; }
  D3DXMATRIX operator+(const D3DXMATRIX& mat) const { D3DXMATRIX r(*this); r += mat; return r; }
  D3DXMATRIX operator-(const D3DXMATRIX& mat) const { D3DXMATRIX r(*this); r -= mat; return r; }
  D3DXMATRIX operator*(FLOAT f) const { D3DXMATRIX r(*this); r.Scale(f); return r; }
  D3DXMATRIX operator/(FLOAT f) const { D3DXMATRIX r(*this); r.Scale(1.0f / f); return r; }
  friend D3DXMATRIX operator*(FLOAT f, const D3DXMATRIX& mat) { return mat * f; }

  BOOL operator==(const D3DXMATRIX& mat) const { return std::memcmp(&_11, &mat._11, sizeof(D3DMATRIX)) == 0; }
  BOOL operator!=(const D3DXMATRIX& mat) const { return !(*this == mat); }

 private:
  void Apply(const D3DXMATRIX& mat, FLOAT sign) {
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) m[r][c] += sign * mat.m[r][c];
  }
  void Scale(FLOAT f) {
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) m[r][c] *= f;
  }
} D3DXMATRIX, *LPD3DXMATRIX;

// Inline in the SDK (d3dx9math.inl).
inline FLOAT D3DXVec3Length(const D3DXVECTOR3* pV) {
  if (!pV) return 0.0f;
  return std::sqrt(pV->x * pV->x + pV->y * pV->y + pV->z * pV->z);
}
inline FLOAT D3DXVec3LengthSq(const D3DXVECTOR3* pV) {
  if (!pV) return 0.0f;
  return pV->x * pV->x + pV->y * pV->y + pV->z * pV->z;
}
inline FLOAT D3DXVec3Dot(const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
  if (!pV1 || !pV2) return 0.0f;
  return pV1->x * pV2->x + pV1->y * pV2->y + pV1->z * pV2->z;
}
inline D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
  if (!pOut || !pV1 || !pV2) return nullptr;
  const D3DXVECTOR3 r(pV1->y * pV2->z - pV1->z * pV2->y,
                      pV1->z * pV2->x - pV1->x * pV2->z,
                      pV1->x * pV2->y - pV1->y * pV2->x);
  *pOut = r;
  return pOut;
}
inline D3DXVECTOR3* D3DXVec3Add(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
  if (!pOut || !pV1 || !pV2) return nullptr;
  *pOut = *pV1 + *pV2;
  return pOut;
}
inline D3DXVECTOR3* D3DXVec3Subtract(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
  if (!pOut || !pV1 || !pV2) return nullptr;
  *pOut = *pV1 - *pV2;
  return pOut;
}
inline D3DXVECTOR3* D3DXVec3Scale(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, FLOAT s) {
  if (!pOut || !pV) return nullptr;
  *pOut = *pV * s;
  return pOut;
}
inline D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut) {
  if (!pOut) return nullptr;
  *pOut = D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
  return pOut;
}
inline BOOL D3DXMatrixIsIdentity(const D3DXMATRIX* pM) {
  if (!pM) return FALSE;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (pM->m[r][c] != (r == c ? 1.0f : 0.0f)) return FALSE;
  return TRUE;
}

D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z);
D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz);
D3DXMATRIX* WINAPI D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT angle);
D3DXMATRIX* WINAPI D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT angle);
D3DXMATRIX* WINAPI D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT angle);
D3DXMATRIX* WINAPI D3DXMatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM);
D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                                      const D3DXVECTOR3* pUp);
D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT aspect, FLOAT zn, FLOAT zf);
D3DXMATRIX* WINAPI D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* pOut, FLOAT l, FLOAT r, FLOAT b, FLOAT t, FLOAT zn,
                                              FLOAT zf);
D3DXVECTOR3* WINAPI D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV);
D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM);
D3DXVECTOR3* WINAPI D3DXVec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM);
D3DXVECTOR3* WINAPI D3DXVec3Project(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DVIEWPORT9* pViewport,
                                    const D3DXMATRIX* pProjection, const D3DXMATRIX* pView,
                                    const D3DXMATRIX* pWorld);
BOOL WINAPI D3DXSphereBoundProbe(const D3DXVECTOR3* pCenter, FLOAT Radius, const D3DXVECTOR3* pRayPosition,
                                 const D3DXVECTOR3* pRayDirection);
