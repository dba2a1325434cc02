// "holeball": the tunnel wall, a periodic field of bony domes pierced by
// holes that glow deep inside, set in fibrous tissue. Every noise wraps at
// the tile's edges, so the tile repeats without seams.
#include <cmath>

#include "tools/datakit/Noise.h"
#include "tools/datakit/Pictures.h"
#include "tools/datakit/Random.h"

namespace datakit {
namespace {

constexpr int kCellsX = 4, kCellsY = 8;

struct Surface {
    double height;
    double glow;
    double fibre;
};

Surface Sample(double x, double y) {
    Cells cells = Worley(x, y, 1001, {kCellsX, kCellsY}, 0.6);
    double r = 0.36 + 0.08 * Unit(cells.id);
    double dome = cells.f1 < r ? std::sqrt(1.0 - (cells.f1 / r) * (cells.f1 / r)) : 0.0;
    double hole = SmoothStep(0.15, 0.11, cells.f1);
    double fibre = Turbulence(x * 2.0, y * 2.0, 5, 1003, {kCellsX * 2, kCellsY * 2});
    double h = 0.55 * dome + 0.2 * (1.0 - fibre) * (1.0 - dome) - 0.9 * hole;
    return {h, hole * (1.0 - cells.f1 / 0.15), fibre};
}

}  // namespace

Image PaintTunnelTexture(int width, int height) {
    Image image(width, height);
    const double sx = double(kCellsX) / width, sy = double(kCellsY) / height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double u = (x + 0.5) * sx, v = (y + 0.5) * sy;
            Surface s = Sample(u, v);
            // Slopes from neighbours; the noises wrap, so the edge pixels do too.
            double hx = Sample(u + sx, v).height - Sample(u - sx, v).height;
            double hy = Sample(u, v + sy).height - Sample(u, v - sy).height;
            double nx = -hx * 6.0, ny = -hy * 6.0, nz = 1.0;
            double len = std::sqrt(nx * nx + ny * ny + nz * nz);
            double diffuse = Saturate((nx * -0.5 + ny * -0.6 + nz * 0.62) / len);
            Color bone = Mix(Rgb8(58, 50, 44), Rgb8(150, 136, 118), Saturate(s.height + 0.3));
            bone = bone * (0.85 + 0.25 * s.fibre);
            Color c = bone * (0.25 + 0.9 * diffuse);
            c = c * (1.0 - 0.5 * SmoothStep(0.0, -0.6, s.height));
            c = c + Rgb8(255, 120, 40) * (1.2 * s.glow * s.glow);
            image.Set(x, y, {Saturate(c.r), Saturate(c.g), Saturate(c.b)}, 1.0);
        }
    }
    return image;
}

}  // namespace datakit
