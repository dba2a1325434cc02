// Matrix4: sixteen 32-bit floats in D3DX's layout (row-major, row vectors
// multiplied on the left, translation in the fourth row), so the same matrix
// goes unchanged to D3DX and to the render device.
#pragma once

#include "render/Vec3.h"

#include <d3dx9.h>

struct Matrix4 : D3DXMATRIX {
    Matrix4* SetIdentity() {
        return Set(1.0f, 0.0f, 0.0f, 0.0f,  //
                   0.0f, 1.0f, 0.0f, 0.0f,  //
                   0.0f, 0.0f, 1.0f, 0.0f,  //
                   0.0f, 0.0f, 0.0f, 1.0f);
    }

    Matrix4* Set(float m11, float m12, float m13, float m14,  //
                 float m21, float m22, float m23, float m24,  //
                 float m31, float m32, float m33, float m34,  //
                 float m41, float m42, float m43, float m44) {
        _11 = m11, _12 = m12, _13 = m13, _14 = m14;
        _21 = m21, _22 = m22, _23 = m23, _24 = m24;
        _31 = m31, _32 = m32, _33 = m33, _34 = m34;
        _41 = m41, _42 = m42, _43 = m43, _44 = m44;
        return this;
    }

    // this = this x m; m must differ from this. Each row's old values are
    // read before the row is written.
    Matrix4* Multiply(const Matrix4& b) {
        for (int r = 0; r < 4; ++r) {
            const double a1 = m[r][0], a2 = m[r][1], a3 = m[r][2], a4 = m[r][3];
            for (int c = 0; c < 4; ++c) {
                m[r][c] = static_cast<float>(a1 * b.m[0][c] + a2 * b.m[1][c] + a3 * b.m[2][c] +
                                             a4 * b.m[3][c]);
            }
        }
        return this;
    }
};

static_assert(sizeof(Matrix4) == 64, "Matrix4 is sixteen floats, as D3DX lays them out");

inline Vec3* Vec3::TransformCoord(Vec3* out, const Matrix4& mat) const {
    const double px = x, py = y, pz = z;
    const float w = static_cast<float>(px * mat._14 + py * mat._24 + pz * mat._34 + mat._44);
    if (std::fabs(w) < kGuard) {
        return out->Clear();
    }
    const double k = static_cast<float>(1.0 / w);
    out->x = static_cast<float>((px * mat._11 + py * mat._21 + pz * mat._31 + mat._41) * k);
    out->y = static_cast<float>((px * mat._12 + py * mat._22 + pz * mat._32 + mat._42) * k);
    out->z = static_cast<float>((px * mat._13 + py * mat._23 + pz * mat._33 + mat._43) * k);
    return out;
}
