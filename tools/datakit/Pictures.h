// The show's pictures and textures, each painted procedurally at the given
// size. One look for all: dark, grainy, cold, with a few warm lights.
#pragma once

#include "tools/datakit/DetMath.h"
#include "tools/datakit/Image.h"

namespace datakit {

Image PaintDeathIsWaiting(int width, int height);
Image PaintWaitingForDeath(int width, int height);
Image PaintNothing(int width, int height);
Image PaintFlourish(int width, int height);
Image PaintEye(int width, int height);
Image PaintRooftops(int width, int height);
Image PaintEclipse(int width, int height);
Image PaintDreamWithMe(int width, int height);
// Scratches and dust on a clear ground, laid over every frame.
Image PaintScratchMask(int width, int height);
// The tunnel wall; tiles seamlessly in both directions.
Image PaintTunnelTexture(int width, int height);
// A soft round glow for additive particle sprites.
Image PaintFlare(int size);

// Calls shade(u, v, x, y) for every pixel: u runs 0..width/height left to
// right, v runs 0..1 bottom to top, x and y are the pixel's indices.
template <class Shader>
void ShadeEach(Image& image, Shader shade) {
    const double inv = 1.0 / image.Height();
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            image.Set(x, y, shade((x + 0.5) * inv, 1.0 - (y + 0.5) * inv, x, y));
        }
    }
}

// A soft disc: 1 inside radius r around (cx, cy), falling to 0 over `soft`.
inline double SoftDisc(double u, double v, double cx, double cy, double r, double soft) {
    double d = (u - cx) * (u - cx) + (v - cy) * (v - cy);
    return 1.0 - SmoothStep(r - soft, r + soft, d > 0.0 ? __builtin_sqrt(d) : 0.0);
}

}  // namespace datakit
