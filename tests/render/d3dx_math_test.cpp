// D3DX maths against hand-computed values.
#include <d3dx9.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectMatrix(const D3DXMATRIX& m, const float (&expected)[16], float tolerance = 1e-6f) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(m.m[i / 4][i % 4], expected[i], tolerance) << "element " << i;
    }
}

TEST(D3DXMath, LookAtFromBehindTheOriginIsATranslationAlongZ) {
    D3DXMATRIX view;
    const D3DXVECTOR3 eye{0, 0, -20}, at{0, 0, 0}, up{0, 1, 0};
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    ExpectMatrix(view, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 20, 1});
}

TEST(D3DXMath, LookAtFromInFrontTurnsHalfWayRound) {
    D3DXMATRIX view;
    const D3DXVECTOR3 eye{0, 0, 20}, at{0, 0, 0}, up{0, 1, 0};
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    ExpectMatrix(view, {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 20, 1});
    D3DXVECTOR3 origin{0, 0, 0}, seen;
    D3DXVec3TransformCoord(&seen, &origin, &view);
    EXPECT_FLOAT_EQ(seen.z, 20.0f);
}

TEST(D3DXMath, PerspectiveMapsNearAndFarToZeroAndOne) {
    D3DXMATRIX proj;
    D3DXMatrixPerspectiveFovLH(&proj, 1.5707964f, 1.0f, 1.0f, 4000.0f);
    EXPECT_NEAR(proj._11, 1.0f, 1e-6f);
    EXPECT_NEAR(proj._22, 1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(proj._34, 1.0f);
    EXPECT_FLOAT_EQ(proj._44, 0.0f);
    for (float z : {1.0f, 4000.0f}) {
        const D3DXVECTOR3 p{0, 0, z};
        D3DXVECTOR3 clip;
        D3DXVec3TransformCoord(&clip, &p, &proj);
        EXPECT_NEAR(clip.z, z == 1.0f ? 0.0f : 1.0f, 1e-6f);
    }
    D3DXMATRIX wide;
    D3DXMatrixPerspectiveFovLH(&wide, 0.7853982f, 1.3333334f, 1.0f, 4000.0f);
    EXPECT_NEAR(wide._22, 1.0f / std::tan(0.3926991f), 1e-5f);
    EXPECT_NEAR(wide._11, wide._22 / 1.3333334f, 1e-6f);
}

TEST(D3DXMath, InverseOfRotationScaleTranslationUndoesIt) {
    D3DXMATRIX r, s, t, rs, rst, inverse, product;
    D3DXMatrixRotationY(&r, 0.7f);
    D3DXMatrixScaling(&s, 0.55f, 1.0f, 0.55f);
    D3DXMatrixTranslation(&t, 200, -100, -1200);
    D3DXMatrixMultiply(&rs, &r, &s);
    D3DXMatrixMultiply(&rst, &rs, &t);
    float det = 0;
    ASSERT_NE(D3DXMatrixInverse(&inverse, &det, &rst), nullptr);
    EXPECT_NEAR(det, 0.55f * 0.55f, 1e-6f);
    D3DXMatrixMultiply(&product, &rst, &inverse);
    ExpectMatrix(product, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 1e-5f);

    D3DXMATRIX singular;
    D3DXMatrixScaling(&singular, 1, 0, 1);
    EXPECT_EQ(D3DXMatrixInverse(&inverse, nullptr, &singular), nullptr);
}

TEST(D3DXMath, MultiplyAppliesTheFirstFactorFirst) {
    D3DXMATRIX rotate, move, moveThenRotate;
    D3DXMatrixRotationZ(&rotate, 1.5707964f);
    D3DXMatrixTranslation(&move, 3, 0, 0);
    D3DXMatrixMultiply(&moveThenRotate, &move, &rotate);
    const D3DXVECTOR3 origin{0, 0, 0};
    D3DXVECTOR3 p;
    D3DXVec3TransformCoord(&p, &origin, &moveThenRotate);
    EXPECT_NEAR(p.x, 0.0f, 1e-6f);
    EXPECT_NEAR(p.y, 3.0f, 1e-6f);

    D3DXMatrixMultiply(&move, &move, &rotate);  // the output may alias an input
    ExpectMatrix(move,
                 {moveThenRotate._11, moveThenRotate._12, moveThenRotate._13, moveThenRotate._14,
                  moveThenRotate._21, moveThenRotate._22, moveThenRotate._23, moveThenRotate._24,
                  moveThenRotate._31, moveThenRotate._32, moveThenRotate._33, moveThenRotate._34,
                  moveThenRotate._41, moveThenRotate._42, moveThenRotate._43, moveThenRotate._44});
    D3DXMATRIX transposed;
    D3DXMatrixTranspose(&transposed, &moveThenRotate);
    EXPECT_EQ(transposed._14, moveThenRotate._41);
    EXPECT_EQ(transposed._21, moveThenRotate._12);
}

TEST(D3DXMath, RotationYTurnsXTowardsMinusZAndTransformCoordDividesByW) {
    D3DXMATRIX turn;
    D3DXMatrixRotationY(&turn, 1.5707964f);
    const D3DXVECTOR3 x{1, 0, 0}, z{0, 0, 1};
    D3DXVECTOR3 p;
    D3DXVec3TransformCoord(&p, &x, &turn);
    EXPECT_NEAR(p.x, 0.0f, 1e-6f);
    EXPECT_NEAR(p.z, -1.0f, 1e-6f);
    D3DXVec3TransformCoord(&p, &z, &turn);
    EXPECT_NEAR(p.x, 1.0f, 1e-6f);
    EXPECT_NEAR(p.z, 0.0f, 1e-6f);

    D3DXMATRIX half;
    D3DXMatrixScaling(&half, 1, 1, 1);
    half._44 = 2.0f;
    const D3DXVECTOR3 point{2, 4, 6};
    D3DXVec3TransformCoord(&p, &point, &half);
    EXPECT_EQ(p.x, 1.0f);
    EXPECT_EQ(p.y, 2.0f);
    EXPECT_EQ(p.z, 3.0f);
}

}  // namespace
