// "n": a total eclipse: the black disc ringed by a red chromosphere, a
// pale corona of streamers and one burning bead of light on the rim.
#include <cmath>

#include "tools/datakit/FilmLook.h"
#include "tools/datakit/Noise.h"
#include "tools/datakit/Pictures.h"
#include "tools/datakit/Random.h"

namespace datakit {

Image PaintEclipse(int width, int height) {
    const double cu = width * 0.5 / height, cv = 0.5;
    const double R = 0.19;
    const double beadAngle = -0.75;
    const double beadU = cu + Cos(beadAngle) * R, beadV = cv + Sin(beadAngle) * R;
    Image image(width, height);
    ShadeEach(image, [&](double u, double v, int x, int y) {
        double dx = u - cu, dy = v - cv;
        double r = std::sqrt(dx * dx + dy * dy);
        double angle = Atan2(dy, dx);
        double around = (angle + kPi) / kTwoPi * 48.0;
        // Deep night with faint stars and haze.
        Color c = Mix(Rgb8(10, 12, 20), Rgb8(3, 3, 6), Saturate(r * 1.2));
        std::uint32_t h = Hash2(x, y, 701);
        if (Unit(h) > 0.9986) {
            c = c + Color{0.5, 0.5, 0.55} * Unit(Hash32(h));
        }
        if (r > R) {
            double out = r - R;
            // Streamers: long, lumpy rays stretched along the radius.
            double streak = Fbm(around, Log(out + 0.02) * 1.5, 5, 703, {48, 0});
            double lobes = 0.55 + 0.45 * Cos(2.0 * angle - 0.6);
            double corona = Exp(-out * 9.0) * (0.45 + 0.55 * lobes * (0.5 + 0.5 * streak));
            corona += 0.6 * Exp(-out * 45.0);
            c = c +
                Mix(Rgb8(255, 230, 200), Rgb8(170, 190, 230), Saturate(out * 5.0)) * (corona * 0.8);
            // Chromosphere and prominences: a thin red fringe with flames.
            double flame = SmoothStep(0.45, 0.9, Fbm(around * 2.0, out * 80.0, 3, 707, {96, 0}));
            double fringe = Exp(-out * 300.0) + flame * Exp(-out * 90.0) * 0.8;
            c = c + Rgb8(255, 70, 60) * (fringe * 0.7);
        }
        // The moon's face, barely lit by earthshine.
        double disc = SmoothStep(R + 0.0015, R - 0.0015, r);
        double face = Fbm(u * 14.0, v * 14.0, 4, 709);
        c = Mix(c, Rgb8(9, 9, 11) * (0.8 + 0.3 * face), disc);
        // The bead: a hot point with a halo and four long glints.
        double bu = u - beadU, bv = v - beadV;
        double bd = std::sqrt(bu * bu + bv * bv);
        double spikes = Exp(-std::fabs(bu + bv) * 260.0) * Exp(-std::fabs(bu - bv) * 6.0) +
                        Exp(-std::fabs(bu - bv) * 260.0) * Exp(-std::fabs(bu + bv) * 6.0);
        double bead = 1.3 * Exp(-bd * 120.0) + 0.35 * Exp(-bd * 18.0) + 0.5 * spikes;
        c = c + Rgb8(255, 226, 180) * bead;
        return c;
    });
    ApplyFilmLook(image, {0.05, 0.6, 1.0, 107});
    return image;
}

}  // namespace datakit
