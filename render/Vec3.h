// Vec3: three 32-bit floats with the small set of operations the particle
// systems and the model loader compute with. Arithmetic runs in double
// precision and each stored component is rounded to a 32-bit float.
#pragma once

#include <d3dx9.h>

#include <cmath>

struct Matrix4;

// The same twelve bytes as D3DXVECTOR3, so a Vec3 goes to D3DX unchanged.
struct Vec3 : D3DXVECTOR3 {
    // Shorter vectors are left as they are by Normalize and make
    // TransformCoord give the origin.
    static constexpr float kGuard = 0.00001f;

    Vec3* Set(float nx, float ny, float nz) {
        x = nx;
        y = ny;
        z = nz;
        return this;
    }
    Vec3* Clear() { return Set(0.0f, 0.0f, 0.0f); }
    Vec3* Copy(const Vec3& v) { return Set(v.x, v.y, v.z); }

    Vec3* Add(const Vec3& v) {
        x = static_cast<float>(double{x} + v.x);
        y = static_cast<float>(double{y} + v.y);
        z = static_cast<float>(double{z} + v.z);
        return this;
    }

    // out may be this or v.
    Vec3* Subtract(Vec3* out, const Vec3& v) const {
        out->x = static_cast<float>(double{x} - v.x);
        out->y = static_cast<float>(double{y} - v.y);
        out->z = static_cast<float>(double{z} - v.z);
        return out;
    }

    // out may be this.
    Vec3* Scale(Vec3* out, const float* s) const {
        out->x = static_cast<float>(double{x} * *s);
        out->y = static_cast<float>(double{y} * *s);
        out->z = static_cast<float>(double{z} * *s);
        return out;
    }

    // out must differ from this and v.
    Vec3* Cross(Vec3* out, const Vec3& v) const {
        out->x = static_cast<float>(double{y} * v.z - double{z} * v.y);
        out->y = static_cast<float>(double{z} * v.x - double{x} * v.z);
        out->z = static_cast<float>(double{x} * v.y - double{y} * v.x);
        return out;
    }

    float Dot(const Vec3& v) const {
        return static_cast<float>((double{y} * v.y + double{x} * v.x) + double{z} * v.z);
    }

    Vec3* Normalize() {
        const float squared = static_cast<float>((double{x} * x + double{y} * y) + double{z} * z);
        const float length = static_cast<float>(std::sqrt(double{squared}));
        if (std::fabs(length) < kGuard) {
            return this;
        }
        const float k = static_cast<float>(1.0 / length);
        x = static_cast<float>(double{x} * k);
        y = static_cast<float>(double{y} * k);
        z = static_cast<float>(double{z} * k);
        return this;
    }

    // out must differ from this.
    inline Vec3* TransformCoord(Vec3* out, const Matrix4& m) const;
};

static_assert(sizeof(Vec3) == 12, "Vec3 is embedded in fixed record layouts");
