// "F_l_o_u_r_i_s_h": a mirrored ornament of gilded curls and leaves on
// dark velvet, embossed and glowing.
#include <cmath>

#include "tools/datakit/FilmLook.h"
#include "tools/datakit/Noise.h"
#include "tools/datakit/Paint.h"
#include "tools/datakit/Pictures.h"
#include "tools/datakit/Random.h"

namespace datakit {
namespace {

// A curve whose curvature grows along its length, so it winds into a
// spiral at its end. Returns the sampled points.
std::vector<Point> Curl(Point start, double heading, double length, double bend, double growth,
                        int steps) {
    std::vector<Point> path{start};
    Point p = start;
    double a = heading;
    double step = length / steps;
    for (int i = 0; i < steps; ++i) {
        double s = double(i) / steps;
        a += (bend + growth * s * s) * step;
        p = {p.x + Cos(a) * step, p.y + Sin(a) * step};
        path.push_back(p);
    }
    return path;
}

void Leaf(Mask& mask, Point base, double heading, double size) {
    Point tip{base.x + Cos(heading) * size, base.y + Sin(heading) * size};
    Point mid{base.x + Cos(heading + 0.5) * size * 0.6, base.y + Sin(heading + 0.5) * size * 0.6};
    StrokePath(mask, Bezier(base, mid, tip, 16), size * 0.16, size * 0.02);
}

void DrawHalf(Mask& mask, Point centre, double side, double scale, Random& rng) {
    // The main scroll sweeping out and winding back on itself.
    double heading = side > 0 ? -0.35 : kPi + 0.35;
    std::vector<Point> main =
        Curl(centre, heading, 1.15 * scale, side * 0.25 / scale, side * 9.5 / scale, 220);
    StrokePath(mask, main, 0.022 * scale, 0.004 * scale);
    // Secondary curls branching off the main line, winding the other way.
    const double at[] = {0.18, 0.38, 0.58};
    for (int k = 0; k < 3; ++k) {
        size_t i = static_cast<size_t>(at[k] * (main.size() - 1));
        Point p = main[i];
        Point q = main[i + 1];
        double dir = Atan2(q.y - p.y, q.x - p.x);
        double off = (k % 2 == 0 ? 1.0 : -1.0) * 0.9;
        double len = (0.45 - 0.09 * k) * scale;
        std::vector<Point> branch = Curl(p, dir + off * side, len, -off * side * 0.6 / scale,
                                         -off * side * 14.0 / scale, 120);
        StrokePath(mask, branch, 0.012 * scale, 0.003 * scale);
        for (int l = 1; l < 4; ++l) {
            size_t j = branch.size() * l / 5;
            Point bp = branch[j];
            Point bq = branch[j + 1];
            double bd = Atan2(bq.y - bp.y, bq.x - bp.x);
            Leaf(mask, bp, bd + (l % 2 ? 0.9 : -0.9), rng.Range(0.05, 0.08) * scale);
        }
    }
    // Leaves along the main scroll.
    for (int l = 1; l < 9; ++l) {
        size_t j = main.size() * l / 12;
        Point bp = main[j];
        Point bq = main[j + 1];
        double bd = Atan2(bq.y - bp.y, bq.x - bp.x);
        Leaf(mask, bp, bd + (l % 2 ? 1.0 : -1.0), rng.Range(0.06, 0.1) * scale);
    }
}

}  // namespace

Image PaintFlourish(int width, int height) {
    const double H = height;
    Mask gold(width, height);
    Random rng(404);
    Point centre{width * 0.5, H * 0.52};
    // Draw one half and mirror it, so the ornament is truly symmetric.
    DrawHalf(gold, centre, 1.0, 0.46 * H, rng);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width / 2; ++x) {
            gold.At(x, y) = gold.At(width - 1 - x, y);
        }
    }
    // A central boss and drop.
    FillDisc(gold, centre.x, centre.y, 0.035 * H);
    FillDisc(gold, centre.x, centre.y + 0.09 * H, 0.014 * H);
    FillDisc(gold, centre.x, centre.y - 0.085 * H, 0.01 * H);
    Mask glow = gold;
    Blur(glow, 14);
    Mask bevel = gold;
    Blur(bevel, 2);

    Image image(width, height);
    ShadeEach(image, [&](double u, double v, int x, int y) {
        // Velvet: soft folds and a fine pile.
        double folds = Fbm(u * 2.0, v * 1.2, 5, 401);
        double pile = Fbm(u * 120.0, v * 120.0, 2, 403);
        Color c = Mix(Rgb8(14, 5, 7), Rgb8(48, 16, 18), 0.5 + 0.5 * folds) * (0.92 + 0.08 * pile);
        c = c + Rgb8(255, 150, 60) * (glow.At(x, y) * 0.35);
        double m = gold.At(x, y);
        if (m > 0.0) {
            // Light from the upper left: the bevel's slope shades the gilt.
            double slope = bevel.Sample(x - 1.5, y - 1.5) - bevel.Sample(x + 1.5, y + 1.5);
            double wear = Fbm(u * 40.0, v * 40.0, 4, 405);
            Color gilt = Mix(Rgb8(120, 76, 28), Rgb8(232, 180, 96), 0.5 + 0.4 * wear);
            gilt = gilt * (0.75 + 1.6 * slope);
            c = Mix(c, gilt, m);
        }
        return c;
    });
    ApplyFilmLook(image, {0.05, 0.7, 1.05, 104});
    return image;
}

}  // namespace datakit
