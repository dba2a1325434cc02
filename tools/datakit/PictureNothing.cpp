// "nothing": an empty plain at night, one lit doorway standing alone on
// wet ground, a small figure facing it.
#include <cmath>

#include "tools/datakit/FilmLook.h"
#include "tools/datakit/Noise.h"
#include "tools/datakit/Pictures.h"
#include "tools/datakit/Silhouettes.h"

namespace datakit {
namespace {

constexpr double kHorizon = 0.42;
constexpr double kDoorLeft = 0.8, kDoorRight = 0.855, kDoorTop = kHorizon + 0.15;

// Everything above the ground line: sky, fog and the door with its glow.
Color Upper(double u, double v) {
    double t = Saturate((v - kHorizon) / (1.0 - kHorizon));
    Color c = Mix(Rgb8(30, 31, 37), Rgb8(5, 5, 8), Pow(t, 0.45));
    double mist = Fbm(u * 1.5, v * 4.0, 5, 301);
    c = c + Rgb8(30, 30, 36) * (0.5 * SmoothStep(-0.2, 0.8, mist) * Exp(-(v - kHorizon) * 5.0));
    double inDoor = SmoothStep(kDoorLeft - 0.001, kDoorLeft + 0.001, u) *
                    SmoothStep(kDoorRight + 0.001, kDoorRight - 0.001, u) *
                    SmoothStep(kDoorTop + 0.001, kDoorTop - 0.001, v);
    double doorU = (kDoorLeft + kDoorRight) * 0.5, doorV = kHorizon + 0.07;
    double du = (u - doorU) / 1.6, dv = v - doorV;
    double d = std::sqrt(du * du + dv * dv);
    c = c + Rgb8(255, 170, 95) * (0.45 * Exp(-d * 9.0) + 0.25 * Exp(-d * 30.0));
    Color doorLight = Mix(Rgb8(255, 236, 200), Rgb8(255, 170, 90), Saturate((kDoorTop - v) / 0.15));
    return Mix(c, doorLight, inDoor);
}

}  // namespace

Image PaintNothing(int width, int height) {
    const double H = height;
    Mask figure(width, height);
    DrawDressedFigure(figure, {0.66 * H, (1.0 - (kHorizon - 0.055)) * H}, 0.085 * H);
    Image image(width, height);
    ShadeEach(image, [&](double u, double v, int x, int y) {
        Color c;
        if (v >= kHorizon) {
            c = Upper(u, v);
        } else {
            // Wet ground: a rippled, darkened mirror of the world above.
            double depth = (kHorizon - v) / kHorizon;
            double ripple = 0.004 * depth * Fbm(u * 4.0, v * 60.0 / (0.1 + depth), 3, 303);
            double mirrored = 2.0 * kHorizon - v + ripple * 4.0;
            c = Upper(u + ripple, mirrored) * (0.42 - 0.2 * depth);
            double wet = SmoothStep(-0.3, 0.5, Fbm(u * 5.0, v * 25.0 / (0.2 + depth), 4, 307));
            Color dry = Rgb8(14, 14, 16) * (0.7 + 0.4 * Fbm(u * 40.0, v * 90.0, 3, 309));
            c = Mix(dry, c, 0.35 + 0.65 * wet);
            // Light spilling forward from the doorway.
            double spread = 0.03 + (kHorizon - v) * 0.5;
            double across = std::fabs(u - (kDoorLeft + kDoorRight) * 0.5 - (kHorizon - v) * 0.25);
            double spill = SmoothStep(spread, spread * 0.3, across) * Exp(-(kHorizon - v) * 7.0);
            c = c + Rgb8(255, 160, 80) * (spill * 0.3 * (0.6 + 0.4 * wet));
        }
        double body = figure.At(x, y);
        c = Mix(c, Rgb8(4, 4, 5), body);
        // Reflection of the figure, broken by ripples.
        int ry = static_cast<int>((1.0 - (2.0 * kHorizon - 0.11 - (1.0 - (y + 0.5) / H))) * H);
        if (v < kHorizon - 0.055 && ry >= 0 && ry < height) {
            c = c * (1.0 - 0.5 * figure.At(x, ry));
        }
        return c;
    });
    ApplyFilmLook(image, {0.07, 0.7, 1.1, 103});
    return image;
}

}  // namespace datakit
