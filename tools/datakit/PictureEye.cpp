// "nny": an eye in close-up, half in shadow: amber iris fibres, a window
// caught in the pupil, veined white, lashes and creased lids.
#include <cmath>

#include "tools/datakit/FilmLook.h"
#include "tools/datakit/Noise.h"
#include "tools/datakit/Paint.h"
#include "tools/datakit/Pictures.h"
#include "tools/datakit/Random.h"

namespace datakit {
namespace {

constexpr double kCentreU = 0.667, kCentreV = 0.5;
constexpr double kHalfWidth = 0.44;

double UpperLid(double x) {
    double t = Saturate(1.0 - (x / kHalfWidth) * (x / kHalfWidth));
    return 0.155 * Pow(t, 0.7) - 0.015 * x / kHalfWidth;
}

double LowerLid(double x) {
    double t = Saturate(1.0 - (x / kHalfWidth) * (x / kHalfWidth));
    return -0.11 * Pow(t, 0.9) - 0.02 * x / kHalfWidth;
}

}  // namespace

Image PaintEye(int width, int height) {
    const double H = height;
    // Lashes: curved strokes rooted along the upper lid, longer at the middle.
    Mask lashes(width, height);
    Random rng(505);
    for (int i = 0; i < 70; ++i) {
        double x = rng.Range(-0.92, 0.92) * kHalfWidth;
        double rootV = kCentreV + UpperLid(x);
        double len = (0.05 + 0.06 * (1.0 - std::fabs(x / kHalfWidth))) * rng.Range(0.7, 1.1);
        double lean = x / kHalfWidth * 0.9 + rng.Range(-0.15, 0.15);
        Point a{(kCentreU + x) * H, (1.0 - rootV) * H};
        Point b{(kCentreU + x + lean * len) * H, (1.0 - rootV - len) * H};
        Point c{(kCentreU + x + lean * len * 0.2) * H, (1.0 - rootV - len * 0.8) * H};
        StrokePath(lashes, Bezier(a, c, b, 12), 1.5, 0.3);
    }
    for (int i = 0; i < 35; ++i) {
        double x = rng.Range(-0.85, 0.85) * kHalfWidth;
        double rootV = kCentreV + LowerLid(x);
        double len = 0.025 * rng.Range(0.6, 1.2);
        Point a{(kCentreU + x) * H, (1.0 - rootV) * H};
        Point b{(kCentreU + x + x * 0.08) * H, (1.0 - rootV + len) * H};
        Stroke(lashes, a, b, 1.2, 0.3);
    }

    const double irisU = kCentreU + 0.02, irisV = kCentreV + 0.015;
    const double irisR = 0.135, pupilR = 0.048;
    Image image(width, height);
    ShadeEach(image, [&](double u, double v, int x, int y) {
        double ex = u - kCentreU, ey = v - kCentreV;
        double up = UpperLid(ex), low = LowerLid(ex);
        double inside = std::fabs(ex) < kHalfWidth
                            ? SmoothStep(0.0, 0.004, up - ey) * SmoothStep(0.0, 0.004, ey - low)
                            : 0.0;
        // Skin: warm in the light from the upper right, fine creases along the lids.
        double light = Exp(-((u - 0.85) * (u - 0.85) * 2.5 + (v - 0.68) * (v - 0.68) * 3.0));
        double crease = Fbm(u * 5.0, (ey - up * 0.8) * 60.0, 4, 501);
        double pores = Fbm(u * 90.0, v * 90.0, 3, 503);
        Color skin =
            Mix(Rgb8(22, 17, 16), Rgb8(150, 106, 88), light) * (0.9 + 0.04 * crease + 0.06 * pores);
        // The lid fold above the eye and the shadow under the brow.
        double fold =
            Exp(-std::fabs(ey - (up + 0.07)) * 60.0) * SmoothStep(kHalfWidth, 0.0, std::fabs(ex));
        skin = skin * (1.0 - 0.55 * fold) * (1.0 - 0.35 * SmoothStep(0.1, 0.4, ey));
        Color c = skin;
        if (inside > 0.0) {
            // Sclera, shaded by the upper lid and towards the corners, with veins.
            // The eyeball is a sphere under the lid's shadow.
            double bx = u - irisU, by = (v - irisV) * 1.6;
            double sphere = 1.0 - 0.8 * SmoothStep(0.06, 0.4, std::sqrt(bx * bx + by * by));
            double shade = SmoothStep(0.0, 0.07, up - ey) * sphere;
            double vein = 1.0 - Saturate(std::fabs(GradientNoise(u * 22.0, v * 22.0, 507)) * 18.0);
            vein *= SmoothStep(0.1, 0.35, std::fabs(ex));
            Color white = Mix(Rgb8(40, 32, 31), Rgb8(170, 152, 142), 0.1 + 0.9 * shade);
            white = Mix(white, Rgb8(140, 50, 45), vein * 0.35);
            double dx = u - irisU, dy = v - irisV;
            double r = std::sqrt(dx * dx + dy * dy);
            double angle = Atan2(dy, dx);
            // Iris: fibres radiating from the pupil, crypts, a dark limbal ring.
            double around = (angle + kPi) / kTwoPi * 64.0;
            double fibres = Fbm(around, r * 40.0, 5, 509, {64, 0}, 0.6);
            Cells crypts = Worley(around * 0.25, r * 30.0, 511, {16, 0});
            double rr = Saturate((r - pupilR) / (irisR - pupilR));
            Color iris = Mix(Rgb8(196, 122, 40), Rgb8(70, 78, 52), SmoothStep(0.05, 0.7, rr));
            iris = iris * (0.65 + 0.45 * fibres) * (0.7 + 0.3 * SmoothStep(0.0, 0.35, crypts.f1));
            iris = iris * (1.0 - 0.85 * SmoothStep(0.75, 1.0, rr));
            iris = iris * (0.35 + 0.65 * shade);
            double irisMask = SmoothStep(irisR + 0.002, irisR - 0.002, r);
            Color eye = Mix(white, iris, irisMask);
            eye = Mix(eye, Rgb8(3, 2, 2), SmoothStep(pupilR + 0.002, pupilR - 0.002, r));
            // A window caught on the cornea.
            double wx = (u - (irisU - 0.035)) / 0.028, wy = (v - (irisV + 0.04)) / 0.038;
            double window = SmoothStep(1.0, 0.8, std::fabs(wx)) *
                            SmoothStep(1.0, 0.8, std::fabs(wy)) *
                            (std::fabs(wx) > 0.1 && std::fabs(wy) > 0.1 ? 1.0 : 0.3);
            eye = eye + Rgb8(255, 240, 215) * (window * 0.85);
            eye = eye + Rgb8(255, 200, 150) * (0.2 * Exp(-r * 25.0) * shade);
            c = Mix(skin * 0.4, eye, inside);
        }
        // Dark lid margins, then a wet rim along the lower lid.
        if (std::fabs(ex) < kHalfWidth) {
            double margin =
                Exp(-std::fabs(ey - up) * 500.0) + 0.6 * Exp(-std::fabs(ey - low) * 600.0);
            c = c * (1.0 - 0.55 * Saturate(margin));
        }
        c = c + Rgb8(255, 210, 180) * (0.18 * Exp(-std::fabs(ey - low) * 400.0) *
                                       SmoothStep(kHalfWidth, 0.2, std::fabs(ex)));
        c = Mix(c, Rgb8(6, 4, 4), lashes.At(x, y) * 0.95);
        return c;
    });
    ApplyFilmLook(image, {0.06, 0.75, 1.0, 105});
    return image;
}

}  // namespace datakit
