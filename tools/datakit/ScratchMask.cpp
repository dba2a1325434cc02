// The scratch mask: an old print's wear laid over every frame. Clear
// ground; light scratches, curled hairs and dark dust, thickest in the
// middle of the frame.
#include <algorithm>
#include <cmath>

#include "tools/datakit/Paint.h"
#include "tools/datakit/Pictures.h"
#include "tools/datakit/Random.h"

namespace datakit {
namespace {

// Picks a point, more likely near the centre of the frame.
Point CentreWeighted(Random& rng, double width, double height, double spread) {
    return {width * 0.5 + rng.Gaussian() * width * spread,
            height * 0.5 + rng.Gaussian() * height * spread};
}

}  // namespace

Image PaintScratchMask(int width, int height) {
    Random rng(909);
    Mask light(width, height), dark(width, height);
    // Long vertical scratches, wandering a little.
    for (int i = 0; i < 26; ++i) {
        double x = width * 0.5 + rng.Gaussian() * width * 0.22;
        double y0 = rng.Range(-0.2, 0.6) * height;
        double len = rng.Range(0.2, 1.0) * height;
        std::vector<Point> path;
        for (int s = 0; s <= 30; ++s) {
            double t = s / 30.0;
            path.push_back({x + Sin(t * 5.0 + i) * rng.Range(0.5, 2.5), y0 + len * t});
        }
        StrokePath(light, path, rng.Range(0.4, 1.1), 0.3, rng.Range(0.25, 0.7));
    }
    // Hairs: short curled fibres.
    for (int i = 0; i < 40; ++i) {
        Point p = CentreWeighted(rng, width, height, 0.2);
        double a = rng.Range(0.0, kTwoPi), bend = rng.Range(-0.12, 0.12);
        std::vector<Point> path{p};
        for (int s = 0; s < 40; ++s) {
            a += bend + rng.Range(-0.05, 0.05);
            p = {p.x + Cos(a) * 2.0, p.y + Sin(a) * 2.0};
            path.push_back(p);
        }
        StrokePath(i % 3 == 0 ? light : dark, path, 0.7, 0.5, rng.Range(0.4, 0.8));
    }
    // Dust: specks and a few clumps.
    for (int i = 0; i < 700; ++i) {
        Point p = CentreWeighted(rng, width, height, 0.24);
        double r = 0.4 + rng.Uniform() * rng.Uniform() * 3.5;
        FillDisc(rng.Uniform() < 0.2 ? light : dark, p.x, p.y, r, rng.Range(0.3, 0.9));
    }
    for (int i = 0; i < 8; ++i) {
        Point p = CentreWeighted(rng, width, height, 0.12);
        for (int k = 0; k < 14; ++k) {
            FillDisc(dark, p.x + rng.Gaussian() * 4.0, p.y + rng.Gaussian() * 4.0,
                     rng.Range(0.5, 2.0), rng.Range(0.4, 0.9));
        }
    }
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double l = light.At(x, y), d = dark.At(x, y);
            double alpha = std::max(l, d) * 0.55;
            Color c = d > l ? Rgb8(20, 16, 12) : Rgb8(236, 230, 214);
            image.Set(x, y, alpha > 0.0 ? c : Color{}, alpha);
        }
    }
    return image;
}

}  // namespace datakit
