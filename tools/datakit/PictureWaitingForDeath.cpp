// "Waiting For Death To Come": a figure sits in a dark room, facing a tall
// arched window; amber light falls through it in dusty shafts.
#include <cmath>

#include "tools/datakit/FilmLook.h"
#include "tools/datakit/Noise.h"
#include "tools/datakit/Pictures.h"
#include "tools/datakit/Random.h"
#include "tools/datakit/Silhouettes.h"

namespace datakit {
namespace {

constexpr double kWindowLeft = 0.9, kWindowRight = 1.14;
constexpr double kWindowBottom = 0.4, kWindowSpring = 0.8;
constexpr double kFloor = 0.27;

// 1 where light passes the glazing, 0 on the frame, the bars and the wall.
double Glass(double u, double v) {
    const double cx = (kWindowLeft + kWindowRight) * 0.5;
    const double r = (kWindowRight - kWindowLeft) * 0.5;
    if (u < kWindowLeft || u > kWindowRight || v < kWindowBottom) {
        return 0.0;
    }
    if (v > kWindowSpring &&
        (u - cx) * (u - cx) + (v - kWindowSpring) * (v - kWindowSpring) > r * r) {
        return 0.0;
    }
    if (std::fabs(u - cx) < 0.007) {
        return 0.0;
    }
    for (double bar : {0.53, 0.67, 0.8}) {
        if (std::fabs(v - bar) < 0.006) {
            return 0.0;
        }
    }
    return 1.0;
}

}  // namespace

Image PaintWaitingForDeath(int width, int height) {
    const double H = height;
    Mask figure(width, height), branches(width, height);
    DrawSeatedFigure(figure, {0.5 * H, (1.0 - 0.2) * H}, 0.42 * H);
    // Bare branches outside, seen through the glass.
    DrawBareTree(branches, {1.2 * H, (1.0 - 0.3) * H}, 0.7 * H, 77, -0.5);
    Random dust(9);
    Mask motes(width, height);
    for (int i = 0; i < 420; ++i) {
        FillDisc(motes, dust.Range(0.2, 1.3) * H, dust.Range(0.1, 0.75) * H, dust.Range(0.4, 1.6),
                 dust.Range(0.3, 1.0));
    }
    // Light travels down and to the left, away from the window.
    const double sx = 0.6, sy = 0.8;
    Image image(width, height);
    ShadeEach(image, [&](double u, double v, int x, int y) {
        // Wall: stained plaster, darker away from the window.
        double stain = Fbm(u * 3.0, v * 4.0, 6, 201);
        double grime = Fbm(u * 14.0, v * 18.0, 4, 203);
        Color wall =
            Mix(Rgb8(38, 33, 30), Rgb8(62, 55, 48), 0.5 + 0.5 * stain) * (0.85 + 0.15 * grime);
        // Peeling streaks running down the wall.
        wall = wall * (0.9 + 0.1 * Fbm(u * 40.0, v * 2.0, 3, 205));
        Color c = wall;
        if (v < kFloor) {
            double depth = (kFloor - v) / kFloor;
            double board = std::fabs(Sin(v * 90.0 / (0.25 + depth)));
            Color floor = Mix(Rgb8(35, 27, 21), Rgb8(20, 15, 12), depth) *
                          (0.8 + 0.2 * board + 0.15 * Fbm(u * 20.0, v * 6.0, 4, 207));
            c = floor;
        }
        // Skirting line where wall meets floor.
        c = c * (1.0 - 0.5 * SmoothStep(0.012, 0.0, std::fabs(v - kFloor)));
        double ambient = 0.35 + 0.65 * Exp(-std::fabs(u - 1.02) * 1.6);
        c = c * ambient;

        // The window: evening sky with bare branches, then frame and bars.
        double glass = Glass(u, v);
        if (u > kWindowLeft - 0.02 && u < kWindowRight + 0.02 && v > kWindowBottom - 0.02 &&
            v < 0.96) {
            double frame = glass > 0.0 ? 0.0 : 1.0;
            if (glass > 0.0) {
                double t = Saturate((v - kWindowBottom) / 0.5);
                Color sky = Mix(Rgb8(255, 190, 120), Rgb8(170, 160, 160), t);
                sky = Mix(sky, Rgb8(40, 28, 25), branches.At(x, y) * 0.85);
                c = sky;
            } else if (u > kWindowLeft && u < kWindowRight && v > kWindowBottom) {
                double cx = (kWindowLeft + kWindowRight) * 0.5,
                       r = (kWindowRight - kWindowLeft) * 0.5;
                bool inArch =
                    v <= kWindowSpring ||
                    (u - cx) * (u - cx) + (v - kWindowSpring) * (v - kWindowSpring) <= r * r;
                if (inArch) {
                    c = Rgb8(22, 17, 14) * frame;
                }
            }
        }

        // Shafts: trace back towards the light and measure the glazing crossed.
        // A per-pixel jitter of the steps turns banding into fine grain.
        double jitter = Unit(Hash2(x, y, 213));
        double through = 0.0, firstHit = -1.0;
        for (int i = 0; i < 112; ++i) {
            double t = (i + jitter) * 0.0125;
            double g = Glass(u + sx * t, v + sy * t);
            if (g > 0.0 && firstHit < 0.0) {
                firstHit = t;
            }
            through += g;
        }
        if (firstHit > 0.0 && glass == 0.0) {
            double beam = Saturate(through / 18.0) * Exp(-firstHit * 1.3);
            double haze = 0.75 + 0.25 * Fbm(u * 6.0 - v * 4.0, v * 3.0 + u * 2.0, 4, 211);
            Color light = Rgb8(255, 176, 100);
            double onFloor = v < kFloor ? 1.4 : 0.55;
            c = c + light * (beam * haze * onFloor * 0.55);
            c = c + Rgb8(255, 220, 170) * (motes.At(x, y) * beam * 1.6);
        }
        // The sitter, dark against the light, with a warm rim.
        double body = figure.At(x, y);
        double rim = body * (1.0 - figure.Sample(x + 2.0, y - 2.0));
        c = Mix(c, Rgb8(8, 6, 6), body);
        c = c + Rgb8(255, 170, 90) * (rim * 0.3);
        return c;
    });
    ApplyFilmLook(image, {0.055, 0.65, 1.1, 102});
    return image;
}

}  // namespace datakit
