// Over a triangle the perspective-correct texture coordinate is t = A / B,
// with A (the coordinate over w) and B (one over w) affine in screen space.
// Its screen derivative is (grad A - t grad B) / B: the numerator is affine
// in t, so its size peaks at a corner's t, and B is least at a corner. The
// per-axis sum of both coordinates' bounds covers any norm the rasteriser
// may take of the derivatives.
#include "device/MagnifiedDraw.h"

#include <algorithm>
#include <cmath>

namespace ember {

namespace {

struct ScreenCorner {
    double x, y;  // pixels
    double q;     // one over clip w
    double s, t;  // texels
};

struct Gradient {
    double dx, dy;
};

bool Project(const TexturedCorner& corner, const D3DXMATRIX& wvp, double width, double height,
             double textureWidth, double textureHeight, ScreenCorner* out) {
    const double x = corner.x, y = corner.y, z = corner.z;
    const double clipX = x * wvp._11 + y * wvp._21 + z * wvp._31 + wvp._41;
    const double clipY = x * wvp._12 + y * wvp._22 + z * wvp._32 + wvp._42;
    const double clipW = x * wvp._14 + y * wvp._24 + z * wvp._34 + wvp._44;
    if (!(clipW > 1e-6)) {
        return false;
    }
    out->q = 1.0 / clipW;
    out->x = (clipX * out->q + 1.0) * 0.5 * width;
    out->y = (1.0 - clipY * out->q) * 0.5 * height;
    out->s = corner.u * textureWidth;
    out->t = corner.v * textureHeight;
    return std::isfinite(out->x) && std::isfinite(out->y) && std::isfinite(out->s) &&
           std::isfinite(out->t);
}

// The screen gradient of the affine function taking values f0, f1, f2 at
// the corners; determinant is that of the corners' edge vectors.
Gradient GradientOf(const ScreenCorner* c, double f0, double f1, double f2, double determinant) {
    const double e1x = c[1].x - c[0].x, e1y = c[1].y - c[0].y;
    const double e2x = c[2].x - c[0].x, e2y = c[2].y - c[0].y;
    return {((f1 - f0) * e2y - (f2 - f0) * e1y) / determinant,
            ((f2 - f0) * e1x - (f1 - f0) * e2x) / determinant};
}

// The largest texels per pixel along x and along y anywhere in the triangle.
bool TriangleMagnified(const ScreenCorner* c) {
    const double determinant =
        (c[1].x - c[0].x) * (c[2].y - c[0].y) - (c[1].y - c[0].y) * (c[2].x - c[0].x);
    if (std::fabs(determinant) < 1e-9) {
        return true;  // no area: it covers no pixel centre
    }
    const Gradient gradQ = GradientOf(c, c[0].q, c[1].q, c[2].q, determinant);
    const Gradient gradS =
        GradientOf(c, c[0].s * c[0].q, c[1].s * c[1].q, c[2].s * c[2].q, determinant);
    const Gradient gradT =
        GradientOf(c, c[0].t * c[0].q, c[1].t * c[1].q, c[2].t * c[2].q, determinant);
    const double leastQ = std::min({c[0].q, c[1].q, c[2].q});
    double alongX = 0.0;
    double alongY = 0.0;
    for (const auto& [grad, corner] :
         {std::pair{gradS, &ScreenCorner::s}, std::pair{gradT, &ScreenCorner::t}}) {
        double mostX = 0.0;
        double mostY = 0.0;
        for (int i = 0; i < 3; ++i) {
            mostX = std::max(mostX, std::fabs(grad.dx - c[i].*corner * gradQ.dx));
            mostY = std::max(mostY, std::fabs(grad.dy - c[i].*corner * gradQ.dy));
        }
        alongX += mostX / leastQ;
        alongY += mostY / leastQ;
    }
    return alongX <= kMagnifiedTexelsPerPixel && alongY <= kMagnifiedTexelsPerPixel;
}

}  // namespace

bool MagnifiedEverywhere(const TexturedCorner* corners, std::size_t cornerCount,
                         const D3DXMATRIX& wvp, float viewportWidth, float viewportHeight,
                         float textureWidth, float textureHeight) {
    if (corners == nullptr || cornerCount == 0 || cornerCount % 3 != 0 || viewportWidth <= 0.0f ||
        viewportHeight <= 0.0f || textureWidth <= 0.0f || textureHeight <= 0.0f) {
        return false;
    }
    for (std::size_t first = 0; first < cornerCount; first += 3) {
        ScreenCorner triangle[3];
        for (int i = 0; i < 3; ++i) {
            if (!Project(corners[first + i], wvp, viewportWidth, viewportHeight, textureWidth,
                         textureHeight, &triangle[i])) {
                return false;
            }
        }
        if (!TriangleMagnified(triangle)) {
            return false;
        }
    }
    return true;
}

}  // namespace ember
