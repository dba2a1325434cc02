// Lattice noises: hashed corners, quintic fades, periodic wrapping.
#include "tools/datakit/Noise.h"

#include <cmath>

#include "tools/datakit/DetMath.h"
#include "tools/datakit/Random.h"

namespace datakit {
namespace {

double Fade(double t) {
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

int Wrap(int i, int period) {
    if (period <= 0) {
        return i;
    }
    int m = i % period;
    return m < 0 ? m + period : m;
}

// Unit gradient from a hash: 16 directions around the circle.
double GradDot(std::uint32_t h, double dx, double dy) {
    static const double kDirs[16][2] = {{1.0, 0.0},
                                        {0.92387953, 0.38268343},
                                        {0.70710678, 0.70710678},
                                        {0.38268343, 0.92387953},
                                        {0.0, 1.0},
                                        {-0.38268343, 0.92387953},
                                        {-0.70710678, 0.70710678},
                                        {-0.92387953, 0.38268343},
                                        {-1.0, 0.0},
                                        {-0.92387953, -0.38268343},
                                        {-0.70710678, -0.70710678},
                                        {-0.38268343, -0.92387953},
                                        {0.0, -1.0},
                                        {0.38268343, -0.92387953},
                                        {0.70710678, -0.70710678},
                                        {0.92387953, -0.38268343}};
    const double* g = kDirs[h & 15];
    return g[0] * dx + g[1] * dy;
}

double GradDot3(std::uint32_t h, double dx, double dy, double dz) {
    switch (h % 12) {
        case 0:
            return dx + dy;
        case 1:
            return -dx + dy;
        case 2:
            return dx - dy;
        case 3:
            return -dx - dy;
        case 4:
            return dx + dz;
        case 5:
            return -dx + dz;
        case 6:
            return dx - dz;
        case 7:
            return -dx - dz;
        case 8:
            return dy + dz;
        case 9:
            return -dy + dz;
        case 10:
            return dy - dz;
        default:
            return -dy - dz;
    }
}

}  // namespace

double ValueNoise(double x, double y, std::uint32_t seed, Period period) {
    double fx = std::floor(x), fy = std::floor(y);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    double tx = Fade(x - fx), ty = Fade(y - fy);
    int x0 = Wrap(ix, period.x), x1 = Wrap(ix + 1, period.x);
    int y0 = Wrap(iy, period.y), y1 = Wrap(iy + 1, period.y);
    double a = Unit(Hash2(x0, y0, seed)), b = Unit(Hash2(x1, y0, seed));
    double c = Unit(Hash2(x0, y1, seed)), d = Unit(Hash2(x1, y1, seed));
    return Lerp(Lerp(a, b, tx), Lerp(c, d, tx), ty);
}

double GradientNoise(double x, double y, std::uint32_t seed, Period period) {
    double fx = std::floor(x), fy = std::floor(y);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    double dx = x - fx, dy = y - fy;
    int x0 = Wrap(ix, period.x), x1 = Wrap(ix + 1, period.x);
    int y0 = Wrap(iy, period.y), y1 = Wrap(iy + 1, period.y);
    double a = GradDot(Hash2(x0, y0, seed), dx, dy);
    double b = GradDot(Hash2(x1, y0, seed), dx - 1.0, dy);
    double c = GradDot(Hash2(x0, y1, seed), dx, dy - 1.0);
    double d = GradDot(Hash2(x1, y1, seed), dx - 1.0, dy - 1.0);
    double tx = Fade(dx), ty = Fade(dy);
    return 1.4142135 * Lerp(Lerp(a, b, tx), Lerp(c, d, tx), ty);
}

double GradientNoise3(double x, double y, double z, std::uint32_t seed) {
    double fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy), iz = static_cast<int>(fz);
    double dx = x - fx, dy = y - fy, dz = z - fz;
    double tx = Fade(dx), ty = Fade(dy), tz = Fade(dz);
    double v[2][2][2];
    for (int k = 0; k < 2; ++k) {
        for (int j = 0; j < 2; ++j) {
            for (int i = 0; i < 2; ++i) {
                v[k][j][i] = GradDot3(Hash3(ix + i, iy + j, iz + k, seed), dx - i, dy - j, dz - k);
            }
        }
    }
    double z0 = Lerp(Lerp(v[0][0][0], v[0][0][1], tx), Lerp(v[0][1][0], v[0][1][1], tx), ty);
    double z1 = Lerp(Lerp(v[1][0][0], v[1][0][1], tx), Lerp(v[1][1][0], v[1][1][1], tx), ty);
    return Lerp(z0, z1, tz);
}

double Fbm(double x, double y, int octaves, std::uint32_t seed, Period period, double gain) {
    double sum = 0.0, amp = 1.0, norm = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * GradientNoise(x, y, seed + 977U * static_cast<std::uint32_t>(o), period);
        norm += amp;
        amp *= gain;
        x *= 2.0;
        y *= 2.0;
        period.x *= 2;
        period.y *= 2;
    }
    return sum / norm * 1.6;
}

double Fbm3(double x, double y, double z, int octaves, std::uint32_t seed) {
    double sum = 0.0, amp = 1.0, norm = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * GradientNoise3(x, y, z, seed + 977U * static_cast<std::uint32_t>(o));
        norm += amp;
        amp *= 0.5;
        x *= 2.0;
        y *= 2.0;
        z *= 2.0;
    }
    return sum / norm * 1.6;
}

double Turbulence(double x, double y, int octaves, std::uint32_t seed, Period period) {
    double sum = 0.0, amp = 1.0, norm = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp *
               std::fabs(GradientNoise(x, y, seed + 613U * static_cast<std::uint32_t>(o), period));
        norm += amp;
        amp *= 0.5;
        x *= 2.0;
        y *= 2.0;
        period.x *= 2;
        period.y *= 2;
    }
    return Saturate(sum / norm * 1.4);
}

Cells Worley(double x, double y, std::uint32_t seed, Period period, double jitter) {
    double fx = std::floor(x), fy = std::floor(y);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    Cells c{1e9, 1e9, 0, 0.0, 0.0};
    // Two rings of neighbours: with full jitter the second-nearest point
    // can lie two cells away.
    for (int j = -2; j <= 2; ++j) {
        for (int i = -2; i <= 2; ++i) {
            int cx = ix + i, cy = iy + j;
            std::uint32_t h = Hash2(Wrap(cx, period.x), Wrap(cy, period.y), seed);
            double px = cx + 0.5 + jitter * (Unit(h) - 0.5);
            double py = cy + 0.5 + jitter * (Unit(Hash32(h)) - 0.5);
            double d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < c.f1) {
                c.f2 = c.f1;
                c.f1 = d;
                c.id = h;
                c.cx = px;
                c.cy = py;
            } else if (d < c.f2) {
                c.f2 = d;
            }
        }
    }
    return c;
}

}  // namespace datakit
