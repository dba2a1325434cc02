// "F_l_o_u_r_i_s_h": a mirrored ornament of gilded curls and leaves on
// dark velvet, embossed and glowing.
#include <algorithm>
#include <cmath>

#include "tools/datakit/FilmLook.h"
#include "tools/datakit/Noise.h"
#include "tools/datakit/Paint.h"
#include "tools/datakit/Pictures.h"
#include "tools/datakit/Random.h"

namespace datakit {
namespace {

// A curve steered by its curvature (radians per pixel) along its length:
// a curvature that grows towards the end winds it into a spiral.
template <class Curvature>
std::vector<Point> Curl(Point start, double heading, double length, Curvature curvature,
                        int steps) {
    std::vector<Point> path{start};
    Point p = start;
    double a = heading;
    double step = length / steps;
    for (int i = 0; i < steps; ++i) {
        a += curvature(double(i) / steps) * step;
        p = {p.x + Cos(a) * step, p.y + Sin(a) * step};
        path.push_back(p);
    }
    return path;
}

// Gentle at first, then tightening from a wide turn to a small eye.
auto Scroll(double side, double straight, double wide, double tight, double lead) {
    return [=](double s) {
        if (s < straight) {
            return side * lead;
        }
        return side * Lerp(1.0 / wide, 1.0 / tight, (s - straight) / (1.0 - straight));
    };
}

// A leaf: a pointed oval bent a little to one side.
void Leaf(Mask& mask, Point base, double heading, double size, double bend) {
    std::vector<Point> outline;
    const int steps = 16;
    for (int side = 0; side < 2; ++side) {
        for (int i = 0; i <= steps; ++i) {
            double t = side == 0 ? double(i) / steps : 1.0 - double(i) / steps;
            double width = 0.32 * size * Sin(kPi * Pow(t, 0.8)) * (side == 0 ? 1.0 : -1.0);
            double along = t * size;
            double curl = bend * t * t * size;
            double a = heading;
            outline.push_back({base.x + Cos(a) * along - Sin(a) * (width + curl),
                               base.y + Sin(a) * along + Cos(a) * (width + curl)});
        }
    }
    FillPolygon(mask, outline);
}

double Heading(const std::vector<Point>& path, size_t i) {
    size_t j = std::min(i + 1, path.size() - 1);
    size_t k = j - 1;
    return Atan2(path[j].y - path[k].y, path[j].x - path[k].x);
}

void DrawHalf(Mask& mask, Point centre, double side, double scale, Random& rng) {
    // The main scroll: out and up, then winding down into a spiral.
    double heading = side > 0 ? -0.5 : kPi + 0.5;
    std::vector<Point> main = Curl(centre, heading, 1.5 * scale,
                                   Scroll(side, 0.35, 0.3 * scale, 0.05 * scale, 0.9 / scale), 500);
    StrokePath(mask, main, 0.028 * scale, 0.006 * scale);
    // Tendrils leave the scroll's outer side and wind the other way.
    const double at[] = {0.22, 0.42, 0.6};
    for (int k = 0; k < 3; ++k) {
        size_t i = static_cast<size_t>(at[k] * (main.size() - 1));
        double dir = Heading(main, i);
        double off = (k == 1 ? 1.0 : -1.0) * 0.7;
        double len = (0.55 - 0.1 * k) * scale;
        std::vector<Point> branch =
            Curl(main[i], dir + off * side, len,
                 Scroll(-off * side, 0.3, 0.2 * scale, 0.04 * scale, 0.0), 240);
        StrokePath(mask, branch, 0.016 * scale, 0.004 * scale);
        for (int l = 1; l <= 2; ++l) {
            size_t j = branch.size() * (l * 2) / 7;
            Leaf(mask, branch[j], Heading(branch, j) - off * side * 0.9,
                 rng.Range(0.09, 0.13) * scale, 0.15 * side);
        }
    }
    // Leaves along the scroll, alternating sides.
    for (int l = 1; l < 7; ++l) {
        size_t j = main.size() * l / 10;
        double flip = l % 2 ? 1.0 : -1.0;
        Leaf(mask, main[j], Heading(main, j) + flip * 0.8, rng.Range(0.1, 0.15) * scale,
             0.2 * flip);
    }
}

}  // namespace

Image PaintFlourish(int width, int height) {
    const double H = height;
    Mask gold(width, height);
    Random rng(404);
    Point centre{width * 0.5, H * 0.52};
    // Draw one half and mirror it, so the ornament is truly symmetric.
    DrawHalf(gold, centre, 1.0, 0.56 * H, rng);
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
