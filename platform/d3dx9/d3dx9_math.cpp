// D3DX matrix and vector functions: row vectors, left-handed, D3DX's exact formulas.
#include <d3dx9math.h>

D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
  if (!pOut || !pM1 || !pM2) return nullptr;
  // Computed into a temporary: pOut may alias either input.
  D3DXMATRIX r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      r.m[i][j] = pM1->m[i][0] * pM2->m[0][j] + pM1->m[i][1] * pM2->m[1][j] + pM1->m[i][2] * pM2->m[2][j] +
                  pM1->m[i][3] * pM2->m[3][j];
  *pOut = r;
  return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z) {
  if (!D3DXMatrixIdentity(pOut)) return nullptr;
  pOut->_41 = x;
  pOut->_42 = y;
  pOut->_43 = z;
  return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz) {
  if (!D3DXMatrixIdentity(pOut)) return nullptr;
  pOut->_11 = sx;
  pOut->_22 = sy;
  pOut->_33 = sz;
  return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT angle) {
  if (!D3DXMatrixIdentity(pOut)) return nullptr;
  const FLOAT c = std::cos(angle), s = std::sin(angle);
  pOut->_22 = c;
  pOut->_23 = s;
  pOut->_32 = -s;
  pOut->_33 = c;
  return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT angle) {
  if (!D3DXMatrixIdentity(pOut)) return nullptr;
  const FLOAT c = std::cos(angle), s = std::sin(angle);
  pOut->_11 = c;
  pOut->_13 = -s;
  pOut->_31 = s;
  pOut->_33 = c;
  return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT angle) {
  if (!D3DXMatrixIdentity(pOut)) return nullptr;
  const FLOAT c = std::cos(angle), s = std::sin(angle);
  pOut->_11 = c;
  pOut->_12 = s;
  pOut->_21 = -s;
  pOut->_22 = c;
  return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM) {
  if (!pOut || !pM) return nullptr;
  D3DXMATRIX r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) r.m[i][j] = pM->m[j][i];
  *pOut = r;
  return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV) {
  if (!pOut || !pV) return nullptr;
  const FLOAT len = D3DXVec3Length(pV);
  // A zero vector stays zero rather than becoming NaN.
  *pOut = len == 0.0f ? D3DXVECTOR3(0.0f, 0.0f, 0.0f) : *pV / len;
  return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                                      const D3DXVECTOR3* pUp) {
  if (!pOut || !pEye || !pAt || !pUp) return nullptr;
  D3DXVECTOR3 zaxis = *pAt - *pEye, xaxis, yaxis;
  D3DXVec3Normalize(&zaxis, &zaxis);
  D3DXVec3Cross(&xaxis, pUp, &zaxis);
  D3DXVec3Normalize(&xaxis, &xaxis);
  D3DXVec3Cross(&yaxis, &zaxis, &xaxis);
  *pOut = D3DXMATRIX(xaxis.x, yaxis.x, zaxis.x, 0.0f,
                     xaxis.y, yaxis.y, zaxis.y, 0.0f,
                     xaxis.z, yaxis.z, zaxis.z, 0.0f,
                     -D3DXVec3Dot(&xaxis, pEye), -D3DXVec3Dot(&yaxis, pEye), -D3DXVec3Dot(&zaxis, pEye), 1.0f);
  return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT aspect, FLOAT zn, FLOAT zf) {
  if (!pOut) return nullptr;
  // The cotangent through double: every C library rounds it to the same
  // float, where tanf's last place differs between them (glibc's and
  // Emscripten's for the game's field of view) and 1 / tanf rounds again.
  const FLOAT yScale = FLOAT(1.0 / std::tan(double(fovy) / 2.0));
  const FLOAT xScale = yScale / aspect;
  *pOut = D3DXMATRIX(xScale, 0, 0, 0,
                     0, yScale, 0, 0,
                     0, 0, zf / (zf - zn), 1,
                     0, 0, -zn * zf / (zf - zn), 0);
  return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* pOut, FLOAT l, FLOAT r, FLOAT b, FLOAT t, FLOAT zn,
                                              FLOAT zf) {
  if (!pOut) return nullptr;
  *pOut = D3DXMATRIX(2.0f / (r - l), 0, 0, 0,
                     0, 2.0f / (t - b), 0, 0,
                     0, 0, 1.0f / (zf - zn), 0,
                     (l + r) / (l - r), (t + b) / (b - t), zn / (zn - zf), 1);
  return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
  if (!pOut || !pV || !pM) return nullptr;
  const D3DXVECTOR3 v = *pV;
  const FLOAT w = v.x * pM->_14 + v.y * pM->_24 + v.z * pM->_34 + pM->_44;
  pOut->x = (v.x * pM->_11 + v.y * pM->_21 + v.z * pM->_31 + pM->_41) / w;
  pOut->y = (v.x * pM->_12 + v.y * pM->_22 + v.z * pM->_32 + pM->_42) / w;
  pOut->z = (v.x * pM->_13 + v.y * pM->_23 + v.z * pM->_33 + pM->_43) / w;
  return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
  if (!pOut || !pV || !pM) return nullptr;
  const D3DXVECTOR3 v = *pV;
  pOut->x = v.x * pM->_11 + v.y * pM->_21 + v.z * pM->_31;
  pOut->y = v.x * pM->_12 + v.y * pM->_22 + v.z * pM->_32;
  pOut->z = v.x * pM->_13 + v.y * pM->_23 + v.z * pM->_33;
  return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Project(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DVIEWPORT9* pViewport,
                                    const D3DXMATRIX* pProjection, const D3DXMATRIX* pView,
                                    const D3DXMATRIX* pWorld) {
  if (!pOut || !pV) return nullptr;
  // Missing matrices count as identity.
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  if (pWorld) D3DXMatrixMultiply(&m, &m, pWorld);
  if (pView) D3DXMatrixMultiply(&m, &m, pView);
  if (pProjection) D3DXMatrixMultiply(&m, &m, pProjection);
  D3DXVECTOR3 p;
  D3DXVec3TransformCoord(&p, pV, &m);
  if (pViewport) {
    p.x = pViewport->X + (1.0f + p.x) * pViewport->Width / 2.0f;
    p.y = pViewport->Y + (1.0f - p.y) * pViewport->Height / 2.0f;
    p.z = pViewport->MinZ + p.z * (pViewport->MaxZ - pViewport->MinZ);
  }
  *pOut = p;
  return pOut;
}

BOOL WINAPI D3DXSphereBoundProbe(const D3DXVECTOR3* pCenter, FLOAT Radius, const D3DXVECTOR3* pRayPosition,
                                 const D3DXVECTOR3* pRayDirection) {
  if (!pCenter || !pRayPosition || !pRayDirection) return FALSE;
  const D3DXVECTOR3 diff = *pRayPosition - *pCenter;
  const FLOAT k = D3DXVec3LengthSq(&diff) - Radius * Radius;
  if (k < 0.0f) return TRUE;  // the ray starts inside the sphere
  const FLOAT a = D3DXVec3LengthSq(pRayDirection);
  const FLOAT b = D3DXVec3Dot(&diff, pRayDirection);
  return (b * b - a * k >= 0.0f && b <= 0.0f) ? TRUE : FALSE;
}
