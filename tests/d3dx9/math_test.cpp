// D3DX math against values worked out by hand from the D3DX definitions.
#include <gtest/gtest.h>

#include <d3dx9.h>

namespace {

void ExpectVec(const D3DXVECTOR3& v, float x, float y, float z) {
  EXPECT_NEAR(v.x, x, 1e-5f);
  EXPECT_NEAR(v.y, y, 1e-5f);
  EXPECT_NEAR(v.z, z, 1e-5f);
}

void ExpectRow(const D3DXMATRIX& m, int row, float a, float b, float c, float d) {
  EXPECT_NEAR(m(row, 0), a, 1e-5f) << "row " << row;
  EXPECT_NEAR(m(row, 1), b, 1e-5f) << "row " << row;
  EXPECT_NEAR(m(row, 2), c, 1e-5f) << "row " << row;
  EXPECT_NEAR(m(row, 3), d, 1e-5f) << "row " << row;
}

D3DXVECTOR3 Transform(const D3DXVECTOR3& v, const D3DXMATRIX& m) {
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &v, &m);
  return out;
}

TEST(D3DXMath, LookAtLHBuildsTheViewBasisAndReorthogonalisesUp) {
  // Eye on +x looking at the origin: forward is -x, right is +z.
  D3DXMATRIX m;
  D3DXVECTOR3 eye(3, 0, 0), at(0, 0, 0), up(0, 1, 0);
  D3DXMatrixLookAtLH(&m, &eye, &at, &up);
  ExpectRow(m, 0, 0, 0, -1, 0);
  ExpectRow(m, 1, 0, 1, 0, 0);
  ExpectRow(m, 2, 1, 0, 0, 0);
  ExpectRow(m, 3, 0, 0, 3, 1);
  ExpectVec(Transform(at, m), 0, 0, 3);

  // An up vector leaning towards the view direction gives the same basis.
  D3DXMATRIX leaning, upright;
  D3DXVECTOR3 eye2(0, 0, -5), up2(0, 1, 1), up3(0, 1, 0);
  D3DXMatrixLookAtLH(&leaning, &eye2, &at, &up2);
  D3DXMatrixLookAtLH(&upright, &eye2, &at, &up3);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(leaning(r, c), upright(r, c), 1e-6f);

  // A zero vector normalises to zero, not NaN.
  D3DXVECTOR3 zero(0, 0, 0), n;
  D3DXVec3Normalize(&n, &zero);
  ExpectVec(n, 0, 0, 0);
}

TEST(D3DXMath, PerspectiveFovLHAndOrthoOffCenter) {
  D3DXMATRIX p;
  D3DXMatrixPerspectiveFovLH(&p, D3DX_PI / 2, 2.0f, 1.0f, 101.0f);
  ExpectRow(p, 0, 0.5f, 0, 0, 0);
  ExpectRow(p, 1, 0, 1, 0, 0);
  ExpectRow(p, 2, 0, 0, 1.01f, 1);
  ExpectRow(p, 3, 0, 0, -1.01f, 0);
  // The near plane maps to depth 0 and the far plane to 1.
  EXPECT_NEAR(Transform(D3DXVECTOR3(0, 0, 1), p).z, 0.0f, 1e-6f);
  EXPECT_NEAR(Transform(D3DXVECTOR3(0, 0, 101), p).z, 1.0f, 1e-6f);

  // Pixel box (0..800, 600..0) to NDC, depth 0..1 kept.
  D3DXMATRIX o;
  D3DXMatrixOrthoOffCenterLH(&o, 0, 800, 600, 0, 0, 1);
  ExpectVec(Transform(D3DXVECTOR3(0, 0, 0), o), -1, 1, 0);
  ExpectVec(Transform(D3DXVECTOR3(800, 600, 0.25f), o), 1, -1, 0.25f);
}

TEST(D3DXMath, RotationsTurnClockwiseLookingTowardsTheOrigin) {
  const float quarter = D3DXToRadian(90.0f);
  EXPECT_EQ(quarter, 1.5707964f);
  D3DXMATRIX m;
  D3DXMatrixRotationY(&m, quarter);
  ExpectVec(Transform(D3DXVECTOR3(1, 0, 0), m), 0, 0, -1);
  D3DXMatrixRotationX(&m, quarter);
  ExpectVec(Transform(D3DXVECTOR3(0, 1, 0), m), 0, 0, 1);
  D3DXMatrixRotationZ(&m, quarter);
  ExpectVec(Transform(D3DXVECTOR3(1, 0, 0), m), 0, 1, 0);
}

TEST(D3DXMath, MultiplyAppliesTheLeftMatrixFirst) {
  D3DXMATRIX t, s, ts, st;
  D3DXMatrixTranslation(&t, 1, 0, 0);
  D3DXMatrixScaling(&s, 2, 3, 4);
  D3DXMatrixMultiply(&ts, &t, &s);
  st = s * t;
  ExpectVec(Transform(D3DXVECTOR3(0, 0, 0), ts), 2, 0, 0);
  ExpectVec(Transform(D3DXVECTOR3(0, 0, 0), st), 1, 0, 0);
  ExpectVec(Transform(D3DXVECTOR3(1, 1, 1), st), 3, 3, 4);
  // The output may be one of the inputs.
  D3DXMatrixMultiply(&t, &t, &s);
  EXPECT_TRUE(t == ts);
}

TEST(D3DXMath, TransformCoordDividesByW) {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  m._41 = 2;
  m._42 = 4;
  m._43 = 6;
  m._44 = 2;
  ExpectVec(Transform(D3DXVECTOR3(2, 0, 0), m), 2, 2, 3);
}

TEST(D3DXMath, ProjectMapsThroughMatricesAndViewport) {
  D3DVIEWPORT9 vp = {100, 50, 200, 100, 0.5f, 1.0f};
  D3DXVECTOR3 out, v(0.5f, 0.5f, 0.5f);
  D3DXVec3Project(&out, &v, &vp, nullptr, nullptr, nullptr);
  ExpectVec(out, 250, 75, 0.75f);
  // World, then view: a world shift is undone by the opposite view shift.
  D3DXMATRIX world, view;
  D3DXMatrixTranslation(&world, 3, 0, 0);
  D3DXMatrixTranslation(&view, -3, 0, 0);
  D3DXVec3Project(&out, &v, &vp, nullptr, &view, &world);
  ExpectVec(out, 250, 75, 0.75f);
  D3DXVec3Project(&out, &v, nullptr, nullptr, nullptr, &world);
  ExpectVec(out, 3.5f, 0.5f, 0.5f);
}

TEST(D3DXMath, SphereBoundProbeIsASolidSphereTestAlongTheRay) {
  const D3DXVECTOR3 c(0, 0, 10);
  auto probe = [&](D3DXVECTOR3 p, D3DXVECTOR3 d) { return D3DXSphereBoundProbe(&c, 1.0f, &p, &d); };
  EXPECT_TRUE(probe({0, 0, 0}, {0, 0, 1}));      // ahead
  EXPECT_TRUE(probe({0, 0, 0}, {0, 0, 5}));      // direction need not be unit length
  EXPECT_FALSE(probe({0, 0, 0}, {0, 0, -1}));    // behind
  EXPECT_FALSE(probe({0, 0, 0}, {0, 1, 0}));     // miss
  EXPECT_TRUE(probe({1, 0, 0}, {0, 0, 1}));      // tangent
  EXPECT_TRUE(probe({0, 0, 10.5f}, {0, 1, 0}));  // starts inside
  EXPECT_FALSE(probe({0, 0, 9}, {0, 0, -1}));    // on the surface, leaving
}

}  // namespace
