// The Vec3 and Matrix4 helpers: guards, aliasing and multiply order.
#include "render/Matrix4.h"

#include <gtest/gtest.h>

namespace {

Vec3 V(float x, float y, float z) {
    Vec3 v;
    v.Set(x, y, z);
    return v;
}

void ExpectVec(const Vec3& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

TEST(Vec3, NormalizeScalesToUnitLengthAndLeavesTinyVectorsAlone) {
    Vec3 v = V(3, 0, 4);
    v.Normalize();
    ExpectVec(v, 0.6f, 0.0f, 0.8f);

    Vec3 zero = V(0, 0, 0);
    zero.Normalize();
    ExpectVec(zero, 0, 0, 0);

    Vec3 tiny = V(0.000001f, 0.000002f, 0.0f);
    tiny.Normalize();
    EXPECT_EQ(tiny.x, 0.000001f);
    EXPECT_EQ(tiny.y, 0.000002f);
}

TEST(Vec3, CrossDotAndInPlaceSubtractScale) {
    Vec3 out;
    V(1, 0, 0).Cross(&out, V(0, 1, 0));
    ExpectVec(out, 0, 0, 1);
    EXPECT_FLOAT_EQ(V(1, 2, 3).Dot(V(4, 5, 6)), 32.0f);

    Vec3 a = V(5, 7, 9);
    a.Subtract(&a, V(1, 2, 3));  // out aliasing this
    ExpectVec(a, 4, 5, 6);
    Vec3 b = V(1, 1, 1);
    a.Subtract(&b, b);  // out aliasing v
    ExpectVec(b, 3, 4, 5);
    const float s = 0.5f;
    a.Scale(&a, &s);
    ExpectVec(a, 2, 2.5f, 3);
    a.Add(V(1, 1, 1));
    ExpectVec(a, 3, 3.5f, 4);
}

TEST(Vec3, TransformCoordDividesByWAndGuardsZero) {
    Matrix4 m;
    m.SetIdentity();
    Vec3 out;
    V(1, 2, 3).TransformCoord(&out, m);
    ExpectVec(out, 1, 2, 3);

    m._41 = 1, m._42 = 2, m._43 = 3;
    V(1, 1, 1).TransformCoord(&out, m);
    ExpectVec(out, 2, 3, 4);

    m.SetIdentity();
    m._44 = 2;
    V(2, 4, 6).TransformCoord(&out, m);
    ExpectVec(out, 1, 2, 3);

    m._44 = 0;  // w = 0 for the origin-free point below
    m._14 = 1;
    out.Set(9, 9, 9);
    V(0, 5, 5).TransformCoord(&out, m);
    ExpectVec(out, 0, 0, 0);
}

TEST(Matrix4, MultiplyAppliesThisFirstThenTheArgument) {
    Matrix4 identity;
    identity.SetIdentity();
    Matrix4 a;
    a.Set(0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1);  // turn about z, then move
    Matrix4 b;
    b.Set(2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 1, 1, 1, 1);  // scale, then move

    Matrix4 same = a;
    same.Multiply(identity);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(same.m[i / 4][i % 4], a.m[i / 4][i % 4]);
    }

    Matrix4 ab = a;
    ab.Multiply(b);
    const Vec3 p = V(1, 2, 3);
    Vec3 viaA, viaAB, direct;
    p.TransformCoord(&viaA, a);
    viaA.TransformCoord(&viaAB, b);
    p.TransformCoord(&direct, ab);
    ExpectVec(direct, viaAB.x, viaAB.y, viaAB.z);
}

}  // namespace
