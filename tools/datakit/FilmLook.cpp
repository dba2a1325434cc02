// Tone curve, split toning, vignette and two-scale grain.
#include "tools/datakit/FilmLook.h"

#include <cmath>

#include "tools/datakit/DetMath.h"
#include "tools/datakit/Noise.h"
#include "tools/datakit/Random.h"

namespace datakit {
namespace {

// A gentle shoulder so highlights roll off instead of clipping.
double Tone(double x) {
    x = x < 0.0 ? 0.0 : x;
    return x * (1.0 + x * 0.12) / (1.0 + x);
}

}  // namespace

void ApplyFilmLook(Image& image, const FilmLook& look) {
    const int w = image.Width(), h = image.Height();
    const double cx = w * 0.5, cy = h * 0.5;
    const double radius = std::sqrt(cx * cx + cy * cy);
    const Color shadowTint{0.86, 0.95, 1.10};
    const Color highlightTint{1.08, 1.0, 0.86};
    const double curveNorm = 1.0 / Tone(1.0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Color c = image.Get(x, y) * look.exposure;
            double d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) / radius;
            double v = 1.0 - look.vignette * SmoothStep(0.35, 1.05, d);
            c = c * v;
            c = {Tone(c.r) * curveNorm, Tone(c.g) * curveNorm, Tone(c.b) * curveNorm};
            double l = Saturate(Luma(c));
            c = c * Mix(shadowTint, highlightTint, SmoothStep(0.05, 0.6, l));
            double fine = Unit(Hash2(x, y, look.seed)) + Unit(Hash2(x, y, look.seed + 17U)) - 1.0;
            double coarse = ValueNoise(x * 0.45, y * 0.45, look.seed + 5U) - 0.5;
            double amount = look.grain * (0.35 + 2.6 * l * (1.0 - l));
            double g = (fine * 0.8 + coarse * 0.9) * amount;
            c = c + Color{g, g, g};
            c = {Saturate(c.r), Saturate(c.g), Saturate(c.b)};
            image.Set(x, y, c, image.Alpha(x, y));
        }
    }
}

}  // namespace datakit
