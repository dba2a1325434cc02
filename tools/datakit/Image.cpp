// Float rasters: storage, bilinear sampling.
#include "tools/datakit/Image.h"

#include <cmath>

namespace datakit {

double Luma(Color c) {
    return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
}

Mask::Mask(int width, int height, float fill)
    : width_(width), height_(height), data_(static_cast<size_t>(width) * height, fill) {}

float Mask::Sample(double x, double y) const {
    double fx = std::floor(x), fy = std::floor(y);
    int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    double tx = x - fx, ty = y - fy;
    auto clampX = [&](int v) { return v < 0 ? 0 : (v >= width_ ? width_ - 1 : v); };
    auto clampY = [&](int v) { return v < 0 ? 0 : (v >= height_ ? height_ - 1 : v); };
    int xa = clampX(x0), xb = clampX(x0 + 1), ya = clampY(y0), yb = clampY(y0 + 1);
    double top = At(xa, ya) + (At(xb, ya) - At(xa, ya)) * tx;
    double bottom = At(xa, yb) + (At(xb, yb) - At(xa, yb)) * tx;
    return static_cast<float>(top + (bottom - top) * ty);
}

Image::Image(int width, int height)
    : width_(width), height_(height), data_(static_cast<size_t>(width) * height * 4, 0.0f) {}

Color Image::Get(int x, int y) const {
    size_t i = Index(x, y);
    return {data_[i], data_[i + 1], data_[i + 2]};
}

void Image::Set(int x, int y, Color c, double alpha) {
    size_t i = Index(x, y);
    data_[i] = static_cast<float>(c.r);
    data_[i + 1] = static_cast<float>(c.g);
    data_[i + 2] = static_cast<float>(c.b);
    data_[i + 3] = static_cast<float>(alpha);
}

}  // namespace datakit
