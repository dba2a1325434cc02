// "vic": rooftops of an old city at night in rain: chimneys and a spire in
// layers of fog, a few warm windows, the sky lit orange from below.
#include <cmath>
#include <vector>

#include "tools/datakit/FilmLook.h"
#include "tools/datakit/Noise.h"
#include "tools/datakit/Paint.h"
#include "tools/datakit/Pictures.h"
#include "tools/datakit/Random.h"

namespace datakit {
namespace {

// One row of buildings across the picture, painted into `shape`, with lit
// windows painted into `lights`.
void Skyline(Mask& shape, Mask& lights, Random& rng, double baseTop, double heightRange,
             double scale, double litChance) {
    const double W = shape.Width(), H = shape.Height();
    double x = -rng.Range(0.0, 40.0);
    while (x < W) {
        double w = rng.Range(50.0, 150.0) * scale;
        double top = H * (1.0 - baseTop - rng.Range(0.0, heightRange));
        FillRect(shape, x, top, x + w, H);
        int roof = rng.Int(4);
        if (roof == 0) {
            FillPolygon(shape, {{x - 3, top}, {x + w * 0.5, top - w * 0.45}, {x + w + 3, top}});
        } else if (roof == 1) {
            FillPolygon(shape, {{x + w * 0.1, top},
                                {x + w * 0.3, top - w * 0.25},
                                {x + w * 0.7, top - w * 0.25},
                                {x + w * 0.9, top}});
        }
        int chimneys = rng.Int(3);
        for (int c = 0; c < chimneys; ++c) {
            double cx = x + rng.Range(0.1, 0.8) * w;
            double ch = rng.Range(12.0, 30.0) * scale;
            FillRect(shape, cx, top - ch, cx + 9.0 * scale, top + 2);
            FillRect(shape, cx - 2.0 * scale, top - ch - 3.0 * scale, cx + 11.0 * scale, top - ch);
        }
        // Window grid; most dark, a few lit in warm tones.
        double wx = 9.0 * scale, wy = 14.0 * scale;
        for (double yy = top + 14.0 * scale; yy < H - 10.0; yy += 30.0 * scale) {
            for (double xx = x + 10.0 * scale; xx + wx < x + w - 6.0 * scale; xx += 22.0 * scale) {
                double r = rng.Uniform();
                if (r < litChance) {
                    FillRect(lights, xx, yy, xx + wx, yy + wy, rng.Range(0.5, 1.0));
                } else if (r < litChance + 0.1) {
                    FillRect(lights, xx, yy, xx + wx, yy + wy, 0.08);
                }
            }
        }
        x += w + rng.Range(-10.0, 12.0) * scale;
    }
}

}  // namespace

Image PaintRooftops(int width, int height) {
    const double H = height;
    Random rng(606);
    const int kLayers = 4;
    std::vector<Mask> shapes(kLayers, Mask(width, height));
    std::vector<Mask> lights(kLayers, Mask(width, height));
    Skyline(shapes[0], lights[0], rng, 0.42, 0.2, 0.55, 0.05);
    Skyline(shapes[1], lights[1], rng, 0.34, 0.16, 0.75, 0.06);
    Skyline(shapes[2], lights[2], rng, 0.24, 0.14, 1.0, 0.07);
    Skyline(shapes[3], lights[3], rng, 0.1, 0.1, 1.5, 0.06);
    // A church spire rising out of the second row.
    double sx = 0.28 * H;
    FillRect(shapes[1], sx - 22, H * 0.3, sx + 22, H);
    FillPolygon(shapes[1], {{sx - 26, H * 0.3}, {sx, H * 0.06}, {sx + 26, H * 0.3}});
    Stroke(shapes[1], {sx, H * 0.065}, {sx, H * 0.02}, 1.5, 1.0);
    Stroke(shapes[1], {sx - 8, H * 0.035}, {sx + 8, H * 0.035}, 1.5, 1.5);
    FillRect(lights[1], sx - 7, H * 0.33, sx + 7, H * 0.37, 0.9);
    // Rain: thin, slanted streaks.
    Mask rain(width, height);
    for (int i = 0; i < 2600; ++i) {
        double x = rng.Range(-40.0, width + 40.0), y = rng.Range(-40.0, H);
        double len = rng.Range(10.0, 26.0);
        Stroke(rain, {x, y}, {x - len * 0.18, y + len}, 0.45, 0.45, rng.Range(0.15, 0.5));
    }
    const Color layerColors[kLayers] = {Rgb8(52, 50, 56), Rgb8(34, 32, 37), Rgb8(18, 17, 20),
                                        Rgb8(6, 6, 7)};
    const double fogAfter[kLayers] = {0.55, 0.4, 0.25, 0.08};
    Image image(width, height);
    ShadeEach(image, [&](double u, double v, int x, int y) {
        // Low clouds lit orange by the streets below.
        double cloud = Fbm(u * 2.0, v * 4.5, 6, 601);
        Color c = Mix(Rgb8(86, 56, 40), Rgb8(12, 13, 19), SmoothStep(0.25, 0.95, v));
        c = Mix(c, c * 1.6 + Rgb8(20, 12, 8), SmoothStep(0.0, 0.6, cloud) * 0.6);
        for (int l = 0; l < kLayers; ++l) {
            double m = shapes[l].At(x, y);
            Color wall = layerColors[l] * (0.85 + 0.2 * Fbm(u * 30.0, v * 30.0, 3, 603 + l));
            c = Mix(c, wall, m);
            double lit = lights[l].At(x, y) * m;
            Color lamp =
                Mix(Rgb8(255, 160, 70), Rgb8(255, 210, 140), Unit(Hash2(x / 6, y / 6, 607)));
            c = c + lamp * (lit * (0.5 + 0.5 * (1.0 - fogAfter[l])));
            // Fog between the rows, thicker low down.
            double fog = fogAfter[l] * (0.55 + 0.45 * Fbm(u * 1.5 + l, v * 5.0, 4, 611)) *
                         SmoothStep(0.75, 0.1, v);
            c = Mix(c, Rgb8(64, 52, 50), fog * 0.6);
        }
        // Street glow welling up from below.
        c = c + Rgb8(255, 130, 50) * (0.12 * Exp(-v * 6.0));
        c = c + Rgb8(150, 150, 160) * (rain.At(x, y) * 0.25);
        return c;
    });
    ApplyFilmLook(image, {0.06, 0.6, 1.05, 106});
    return image;
}

}  // namespace datakit
