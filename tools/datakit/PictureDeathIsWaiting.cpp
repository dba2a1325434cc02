// "death is waiting": a hooded figure with a scythe and a lantern on a
// path through a foggy moonlit field of dead trees.
#include <cmath>

#include "tools/datakit/FilmLook.h"
#include "tools/datakit/Noise.h"
#include "tools/datakit/Pictures.h"
#include "tools/datakit/Silhouettes.h"

namespace datakit {

Image PaintDeathIsWaiting(int width, int height) {
    const double H = height;
    const double horizon = 0.36;
    auto px = [&](double u, double v) { return Point{u * H, (1.0 - v) * H}; };

    Mask farTrees(width, height), nearTrees(width, height), figure(width, height);
    const double farSpots[][2] = {{0.08, 0.13}, {0.3, 0.1},   {0.43, 0.16}, {0.86, 0.12},
                                  {0.97, 0.18}, {1.12, 0.11}, {1.25, 0.15}};
    std::uint32_t seed = 11;
    for (const auto& s : farSpots) {
        Point root = px(s[0], horizon + 0.005);
        DrawBareTree(farTrees, root, s[1] * H, seed++, (s[0] - 0.65) * 0.2);
    }
    DrawBareTree(nearTrees, px(0.12, 0.06), 0.85 * H, 3, 0.12);
    DrawBareTree(nearTrees, px(1.24, 0.1), 0.62 * H, 8, -0.2);
    DrawBareTree(nearTrees, px(0.4, 0.25), 0.3 * H, 21, 0.05);
    Blur(farTrees, 1);
    Point lantern = DrawCloakedFigure(figure, px(0.7, 0.17), 0.36 * H);
    const double lu = lantern.x / H, lv = 1.0 - lantern.y / H;

    const double moonU = 1.02, moonV = 0.8;
    Image image(width, height);
    ShadeEach(image, [&](double u, double v, int x, int y) {
        double moonDist = std::sqrt((u - moonU) * (u - moonU) + (v - moonV) * (v - moonV));
        // Sky with moon, halo and moonlit clouds.
        double t = Saturate((v - horizon) / (1.0 - horizon));
        Color c = Mix(Rgb8(62, 64, 74), Rgb8(7, 9, 15), Pow(t, 0.55));
        c = c + Rgb8(70, 40, 22) * (0.5 * Exp(-(v - horizon) * 14.0));
        double halo = 0.32 * Exp(-moonDist * 8.0) + 0.35 * Exp(-moonDist * 35.0);
        c = c + Color{0.75, 0.76, 0.8} * halo;
        double craters = Fbm(u * 60.0, v * 60.0, 3, 7);
        double disc = SoftDisc(u, v, moonU, moonV, 0.042, 0.002);
        c = Mix(c, Color{0.93, 0.91, 0.84} * (0.88 + 0.1 * craters), disc);
        double cloud = Fbm(u * 2.4 + 3.0, v * 5.5, 6, 19) + 0.25 - 0.5 * (1.0 - t);
        double density = SmoothStep(0.0, 0.75, cloud) * SmoothStep(horizon, horizon + 0.1, v);
        Color cloudColor = Mix(Rgb8(22, 23, 29), Rgb8(150, 150, 156), Exp(-moonDist * 3.2) * 0.8);
        c = Mix(c, cloudColor, density * 0.85);

        // A far tree line along the horizon, thinned by fog.
        double ridge = horizon + 0.02 + 0.025 * Fbm(u * 3.0, 0.5, 4, 23) +
                       0.012 * std::fabs(GradientNoise(u * 70.0, 0.3, 29));
        if (v < ridge) {
            c = Mix(c, Rgb8(30, 32, 38), SmoothStep(ridge, ridge - 0.002, v));
        }
        c = Mix(c, Rgb8(36, 38, 44), farTrees.At(x, y) * 0.9);

        // Ground with a wet path running to the horizon.
        if (v < horizon) {
            double depth = (horizon - v) / horizon;
            Color ground = Mix(Rgb8(28, 29, 33), Rgb8(8, 8, 10), Pow(depth, 0.5));
            double texture = Fbm(u * 9.0 / (0.15 + depth), v * 30.0 / (0.15 + depth), 4, 31);
            ground = ground * (0.8 + 0.35 * texture);
            double centre = Lerp(0.66, 0.72, depth);
            double halfWidth = 0.004 + 0.3 * Pow(depth, 1.2);
            double wobble = 0.04 * depth * Fbm(v * 25.0, 1.7, 3, 37);
            double path = SmoothStep(halfWidth, halfWidth * 0.75, std::fabs(u - centre + wobble));
            double puddle = SmoothStep(0.1, 0.45, Fbm(u * 6.0 / (0.2 + depth), v * 22.0, 4, 41));
            Color pathColor = Mix(Rgb8(34, 35, 40), Rgb8(95, 97, 106), puddle * (1.0 - depth));
            c = Mix(ground, pathColor * (0.7 + 0.3 * texture), path * 0.9);
            // The lantern's warm light pooled on the path.
            double pool = Exp(-(((u - lu) * (u - lu)) * 30.0 + ((v - 0.17) * (v - 0.17)) * 260.0));
            c = c + Rgb8(255, 140, 60) * (0.35 * pool * (0.4 + path));
        }

        // Ground fog, thickest at the horizon, in drifting banks.
        double fog = Exp(-std::fabs(v - horizon - 0.01) * 11.0) *
                     (0.55 + 0.45 * Fbm(u * 2.5 + v * 3.0, v * 9.0, 5, 43));
        c = Mix(c, Rgb8(70, 73, 82), Saturate(fog) * 0.55);

        double trees = nearTrees.At(x, y);
        c = Mix(c, Rgb8(6, 6, 8), trees);
        double body = figure.At(x, y);
        c = Mix(c, Rgb8(3, 3, 4), body);

        // Lantern: a hot core and a wide warm glow.
        double ld = std::sqrt((u - lu) * (u - lu) + (v - lv) * (v - lv));
        c = c + Rgb8(255, 150, 70) * (0.9 * Exp(-ld * 70.0) + 0.25 * Exp(-ld * 14.0));
        c = c + Rgb8(255, 225, 170) * SoftDisc(u, v, lu, lv, 0.008, 0.003);

        // Low wisps drifting in front of everything.
        double wisp =
            SmoothStep(0.1, 0.7, Fbm(u * 1.8, v * 7.0 + 2.0, 5, 47)) * SmoothStep(0.3, 0.0, v);
        c = Mix(c, Rgb8(55, 57, 64), wisp * 0.35);
        return c;
    });
    ApplyFilmLook(image, {0.06, 0.6, 1.05, 101});
    return image;
}

}  // namespace datakit
