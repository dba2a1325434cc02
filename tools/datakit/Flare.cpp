// The particles' flare: a soft warm-white glow. Colour is premultiplied by
// its alpha and falls to exactly zero before the sprite's edge, so
// additive sprites show no square rims.
#include <cmath>

#include "tools/datakit/Pictures.h"

namespace datakit {

Image PaintFlare(int size) {
    Image image(size, size);
    const double half = size * 0.5;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double dx = (x + 0.5 - half) / half, dy = (y + 0.5 - half) / half;
            double r2 = dx * dx + dy * dy;
            double edge = SmoothStep(1.0, 0.82, std::sqrt(r2));
            double a = Saturate((0.75 * Exp(-r2 * 7.0) + 0.25 * Exp(-r2 * 40.0)) * edge);
            Color tint = Mix(Color{1.0, 0.82, 0.6}, Color{1.0, 0.97, 0.9}, Exp(-r2 * 20.0));
            image.Set(x, y, tint * a, a);
        }
    }
    return image;
}

}  // namespace datakit
