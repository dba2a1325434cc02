// "Dream With Me": a woman stands on still water before a huge pale moon;
// warm lights drift up around her and everything lies mirrored below.
#include <cmath>
#include <vector>

#include "tools/datakit/FilmLook.h"
#include "tools/datakit/Noise.h"
#include "tools/datakit/Pictures.h"
#include "tools/datakit/Random.h"
#include "tools/datakit/Silhouettes.h"

namespace datakit {
namespace {

constexpr double kHorizon = 0.36;
constexpr double kMoonU = 0.4, kMoonV = 0.6, kMoonR = 0.2;

struct Light {
    double u, v, size, warmth;
};

// Sky, moon and far shore, everything seen above the water line.
Color Above(double u, double v) {
    double t = Saturate((v - kHorizon) / (1.0 - kHorizon));
    Color c = Mix(Rgb8(70, 52, 62), Rgb8(9, 9, 20), Pow(t, 0.6));
    double md = std::sqrt((u - kMoonU) * (u - kMoonU) + (v - kMoonV) * (v - kMoonV));
    c = c + Rgb8(190, 180, 170) *
                (0.28 * Exp(-md * 5.0) + 0.3 * Exp(-(md - kMoonR) * 30.0) * (md > kMoonR));
    double maria = Fbm(u * 9.0, v * 9.0, 5, 801);
    Color moon = Mix(Rgb8(196, 186, 172), Rgb8(128, 120, 120), SmoothStep(-0.1, 0.5, maria));
    c = Mix(c, moon, SmoothStep(kMoonR + 0.0015, kMoonR - 0.0015, md));
    // Thin cloud bands drifting across the moon.
    double band = Fbm(u * 1.2, v * 14.0, 5, 803);
    c = Mix(c, Rgb8(40, 34, 46) + Rgb8(90, 84, 84) * Exp(-md * 4.0),
            SmoothStep(0.25, 0.8, band) * 0.7);
    // Low hills along the far shore.
    double ridge = kHorizon + 0.012 + 0.02 * Fbm(u * 4.0, 0.3, 4, 805);
    c = Mix(c, Rgb8(22, 19, 28), SmoothStep(ridge + 0.001, ridge - 0.001, v));
    return c;
}

}  // namespace

Image PaintDreamWithMe(int width, int height) {
    const double H = height;
    Mask figure(width, height);
    const double feetV = 0.16;
    DrawDressedFigure(figure, {kMoonU * H, (1.0 - feetV) * H}, 0.36 * H);
    Random rng(808);
    std::vector<Light> lights;
    for (int i = 0; i < 70; ++i) {
        lights.push_back(
            {rng.Range(0.02, 0.73), rng.Range(0.2, 0.95), rng.Range(0.002, 0.009), rng.Uniform()});
    }
    Image image(width, height);
    ShadeEach(image, [&](double u, double v, int x, int y) {
        Color c;
        if (v >= kHorizon) {
            c = Above(u, v);
        } else {
            double depth = (kHorizon - v) / kHorizon;
            // Long horizontal ripples shift the mirrored image sideways.
            double ripple = 0.012 * depth * Fbm(u * 2.0, v * 140.0 / (0.2 + depth), 3, 807);
            c = Above(u + ripple, 2.0 * kHorizon - v) * (0.6 - 0.25 * depth);
            double glint = SmoothStep(0.55, 0.9, Fbm(u * 20.0, v * 300.0 / (0.2 + depth), 2, 809));
            double column = Exp(-std::fabs(u - kMoonU) * 9.0);
            c = c + Rgb8(230, 220, 200) * (glint * column * 0.5);
        }
        // Fog resting on the water.
        double fog =
            Exp(-std::fabs(v - kHorizon) * 16.0) * (0.6 + 0.4 * Fbm(u * 3.0, v * 10.0, 4, 811));
        c = Mix(c, Rgb8(90, 80, 92), fog * 0.45);
        // Drifting lights and their reflections.
        for (const Light& l : lights) {
            for (int mirror = 0; mirror < 2; ++mirror) {
                double lv = mirror ? 2.0 * kHorizon - l.v : l.v;
                double du = u - l.u, dv = (v - lv) * (mirror ? 0.35 : 1.0);
                double d2 = du * du + dv * dv;
                if (d2 > 0.01) {
                    continue;
                }
                double glow =
                    Exp(-d2 / (l.size * l.size)) + 0.25 * Exp(-d2 / (l.size * l.size * 12.0));
                Color tone = Mix(Rgb8(255, 140, 60), Rgb8(255, 215, 150), l.warmth);
                c = c + tone * (glow * (mirror ? 0.3 : 0.9));
            }
        }
        // The figure and her reflection.
        double body = figure.At(x, y);
        c = Mix(c, Rgb8(6, 5, 9), body);
        double mv = 2.0 * feetV - v;
        int my = static_cast<int>((1.0 - mv) * H);
        if (v < feetV && my >= 0 && my < height) {
            double wobble = 0.004 * Fbm(u * 3.0, v * 200.0, 2, 813);
            int mx = static_cast<int>((u + wobble) * H);
            if (mx >= 0 && mx < width) {
                c = c * (1.0 - 0.6 * figure.At(mx, my));
            }
        }
        return c;
    });
    ApplyFilmLook(image, {0.06, 0.6, 1.05, 108});
    return image;
}

}  // namespace datakit
