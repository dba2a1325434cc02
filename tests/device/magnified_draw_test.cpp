#include "device/MagnifiedDraw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

using ember::MagnifiedEverywhere;
using ember::TexturedCorner;

constexpr float kWidth = 1024.0f;
constexpr float kHeight = 768.0f;

// A 58 x 40 picture quad (two triangles) in the plane z = 0.
std::vector<TexturedCorner> PictureQuad() {
    const TexturedCorner a{-29.0f, -20.0f, 0.0f, 0.0f, 1.0f};
    const TexturedCorner b{-29.0f, 20.0f, 0.0f, 0.0f, 0.0f};
    const TexturedCorner c{29.0f, -20.0f, 0.0f, 1.0f, 1.0f};
    const TexturedCorner d{29.0f, 20.0f, 0.0f, 1.0f, 0.0f};
    return {a, b, c, c, b, d};
}

D3DXMATRIX Camera(const D3DXMATRIX& world, float distance) {
    const D3DXVECTOR3 eye(0.0f, 0.0f, -distance), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMATRIX view, projection, worldView, wvp;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, 3.14159265f / 4.0f, kWidth / kHeight, 1.0f, 1000.0f);
    D3DXMatrixMultiply(&worldView, &world, &view);
    D3DXMatrixMultiply(&wvp, &worldView, &projection);
    return wvp;
}

D3DXMATRIX Identity() {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    return identity;
}

bool Magnified(const std::vector<TexturedCorner>& corners, const D3DXMATRIX& wvp) {
    return MagnifiedEverywhere(corners.data(), corners.size(), wvp, kWidth, kHeight, 1024.0f,
                               768.0f);
}

// A full-screen picture of 1024 x 768 texels seen from 43 units (about 0.89
// texel per pixel) is magnified; from 60 units (about 1.24) it is not, nor
// turned 45 degrees in the screen, where a pixel step crosses both texture
// axes at once.
TEST(MagnifiedDrawTest, FollowsThePicturesDistanceAndTurn) {
    const std::vector<TexturedCorner> quad = PictureQuad();
    EXPECT_TRUE(Magnified(quad, Camera(Identity(), 43.0f)));
    EXPECT_TRUE(Magnified(quad, Camera(Identity(), 30.0f)));
    EXPECT_FALSE(Magnified(quad, Camera(Identity(), 60.0f)));
    D3DXMATRIX turned;
    D3DXMatrixRotationZ(&turned, 3.14159265f / 4.0f);
    EXPECT_FALSE(Magnified(quad, Camera(turned, 43.0f)));
}

// Unsure means no: a corner behind the eye, no corners, a broken triangle
// list, an empty texture or viewport. A triangle without area covers no
// pixel and says nothing against the rest.
TEST(MagnifiedDrawTest, IsFalseWhenUnsure) {
    const std::vector<TexturedCorner> quad = PictureQuad();
    const D3DXMATRIX wvp = Camera(Identity(), 43.0f);
    D3DXMATRIX behind;
    D3DXMatrixTranslation(&behind, 0.0f, 0.0f, -50.0f);
    EXPECT_FALSE(Magnified(quad, Camera(behind, 43.0f)));
    EXPECT_FALSE(MagnifiedEverywhere(quad.data(), 0, wvp, kWidth, kHeight, 1024.0f, 768.0f));
    EXPECT_FALSE(MagnifiedEverywhere(quad.data(), 5, wvp, kWidth, kHeight, 1024.0f, 768.0f));
    EXPECT_FALSE(MagnifiedEverywhere(quad.data(), 6, wvp, kWidth, kHeight, 0.0f, 768.0f));
    EXPECT_FALSE(MagnifiedEverywhere(quad.data(), 6, wvp, 0.0f, kHeight, 1024.0f, 768.0f));

    std::vector<TexturedCorner> withSliver = quad;
    withSliver.insert(withSliver.end(), {quad[0], quad[0], quad[1]});
    EXPECT_TRUE(Magnified(withSliver, wvp));
}

// The perspective-correct coordinate at a screen point of the triangle, in
// texels, from its barycentric weights in screen space.
struct Projected {
    double x, y, q, s, t;
};

Projected ProjectCorner(const TexturedCorner& c, const D3DXMATRIX& m) {
    const double clipX = c.x * m._11 + c.y * m._21 + c.z * m._31 + m._41;
    const double clipY = c.x * m._12 + c.y * m._22 + c.z * m._32 + m._42;
    const double clipW = c.x * m._14 + c.y * m._24 + c.z * m._34 + m._44;
    return {(clipX / clipW + 1.0) * 0.5 * kWidth, (1.0 - clipY / clipW) * 0.5 * kHeight,
            1.0 / clipW, c.u * 1024.0, c.v * 768.0};
}

// The most texels per pixel (Euclidean, the larger of the two screen axes)
// found by one-pixel differences at points spread over the triangle.
double SampledTexelsPerPixel(const Projected* p) {
    const double det =
        (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[2].x - p[0].x) * (p[1].y - p[0].y);
    auto at = [&](double x, double y, double* s, double* t) {
        const double b1 =
            ((x - p[0].x) * (p[2].y - p[0].y) - (p[2].x - p[0].x) * (y - p[0].y)) / det;
        const double b2 =
            ((p[1].x - p[0].x) * (y - p[0].y) - (x - p[0].x) * (p[1].y - p[0].y)) / det;
        const double b0 = 1.0 - b1 - b2;
        const double q = b0 * p[0].q + b1 * p[1].q + b2 * p[2].q;
        *s = (b0 * p[0].s * p[0].q + b1 * p[1].s * p[1].q + b2 * p[2].s * p[2].q) / q;
        *t = (b0 * p[0].t * p[0].q + b1 * p[1].t * p[1].q + b2 * p[2].t * p[2].q) / q;
    };
    double most = 0.0;
    constexpr int kSteps = 24;
    for (int i = 0; i <= kSteps; ++i) {
        for (int j = 0; i + j <= kSteps; ++j) {
            const double b1 = double(i) / kSteps, b2 = double(j) / kSteps, b0 = 1.0 - b1 - b2;
            const double x = b0 * p[0].x + b1 * p[1].x + b2 * p[2].x;
            const double y = b0 * p[0].y + b1 * p[1].y + b2 * p[2].y;
            double s, t, sx, tx, sy, ty;
            at(x, y, &s, &t);
            at(x + 1.0, y, &sx, &tx);
            at(x, y + 1.0, &sy, &ty);
            most = std::max({most, std::hypot(sx - s, tx - t), std::hypot(sy - s, ty - t)});
        }
    }
    return most;
}

// Against brute force over random views of tilted, turned quads: whenever
// the bound says magnified, no sampled point of the quad maps a texel or
// more onto a pixel; and the bound is not so loose that it never says so.
TEST(MagnifiedDrawTest, NeverClaimsMagnificationThatSamplingContradicts) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> angle(-0.6f, 0.6f);
    std::uniform_real_distribution<float> distance(20.0f, 70.0f);
    const std::vector<TexturedCorner> quad = PictureQuad();
    int magnified = 0;
    for (int trial = 0; trial < 400; ++trial) {
        // Turned in its plane, tilted about an axis in it, turned back a little.
        D3DXMATRIX turn, tilt, turnBack, tilted, world;
        const float axis = angle(random) * 5.0f;
        D3DXMatrixRotationZ(&turn, axis);
        D3DXMatrixRotationY(&tilt, angle(random));
        D3DXMatrixRotationZ(&turnBack, -axis + angle(random) * 0.3f);
        D3DXMatrixMultiply(&tilted, &turn, &tilt);
        D3DXMatrixMultiply(&world, &tilted, &turnBack);
        const D3DXMATRIX wvp = Camera(world, distance(random));
        if (!Magnified(quad, wvp)) {
            continue;
        }
        ++magnified;
        for (std::size_t first = 0; first < quad.size(); first += 3) {
            const Projected triangle[3] = {ProjectCorner(quad[first], wvp),
                                           ProjectCorner(quad[first + 1], wvp),
                                           ProjectCorner(quad[first + 2], wvp)};
            EXPECT_LE(SampledTexelsPerPixel(triangle), ember::kMagnifiedTexelsPerPixel)
                << "trial " << trial;
        }
    }
    EXPECT_GT(magnified, 40);
}

}  // namespace
