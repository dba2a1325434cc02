// Screenshot measures: bounds of the lit pixels, the bars, and a coarse
// comparison with the capture.
#include "tests/desktop/FrameCheck.h"

#include <algorithm>
#include <array>
#include <cmath>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

namespace hushtest {

namespace {

// Black bars are exactly black; the darkest picture content at the frame's
// edges is well above this.
constexpr int kLit = 12;
constexpr int kGridWidth = 32;
constexpr int kGridHeight = 24;

bool Lit(const std::uint8_t* pixel) {
    return pixel[0] > kLit || pixel[1] > kLit || pixel[2] > kLit;
}

using Grid = std::array<double, kGridWidth * kGridHeight * 3>;

Grid Average(const Image& image, const Rect& area) {
    Grid grid{};
    for (int gy = 0; gy < kGridHeight; ++gy) {
        for (int gx = 0; gx < kGridWidth; ++gx) {
            const int x0 = area.x + gx * area.width / kGridWidth;
            const int x1 = area.x + (gx + 1) * area.width / kGridWidth;
            const int y0 = area.y + gy * area.height / kGridHeight;
            const int y1 = area.y + (gy + 1) * area.height / kGridHeight;
            double sum[3] = {0, 0, 0};
            int count = 0;
            for (int y = std::max(y0, 0); y < std::min(y1, image.height); ++y) {
                for (int x = std::max(x0, 0); x < std::min(x1, image.width); ++x) {
                    const std::uint8_t* pixel = image.At(x, y);
                    for (int c = 0; c < 3; ++c) {
                        sum[c] += pixel[c];
                    }
                    ++count;
                }
            }
            for (int c = 0; c < 3; ++c) {
                grid[std::size_t((gy * kGridWidth + gx) * 3 + c)] =
                    count > 0 ? sum[c] / count : 0.0;
            }
        }
    }
    return grid;
}

}  // namespace

Rect ExpectedFrame(int width, int height) {
    const double scale = std::min(width / 1024.0, height / 768.0);
    const int frameWidth = int(std::lround(1024 * scale));
    const int frameHeight = int(std::lround(768 * scale));
    return {(width - frameWidth) / 2, (height - frameHeight) / 2, frameWidth, frameHeight};
}

Rect PictureBounds(const Image& image) {
    int left = image.width, top = image.height, right = -1, bottom = -1;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (Lit(image.At(x, y))) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return {};
    }
    return {left, top, right - left + 1, bottom - top + 1};
}

int LitPixelsOutside(const Image& image, const Rect& frame) {
    int lit = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const bool inside = x >= frame.x - 1 && x <= frame.x + frame.width &&
                                y >= frame.y - 1 && y <= frame.y + frame.height;
            lit += !inside && Lit(image.At(x, y)) ? 1 : 0;
        }
    }
    return lit;
}

double CoarseDifference(const Image& image, const Rect& frame, const Image& reference) {
    const Grid shot = Average(image, frame);
    const Grid expected = Average(reference, {0, 0, reference.width, reference.height});
    double sum = 0.0;
    for (std::size_t i = 0; i < shot.size(); ++i) {
        sum += std::fabs(shot[i] - expected[i]);
    }
    return sum / double(shot.size());
}

std::string Describe(const Rect& rect) {
    return std::to_string(rect.width) + "x" + std::to_string(rect.height) + "+" +
           std::to_string(rect.x) + "+" + std::to_string(rect.y);
}

Image ReadPng(const std::string& path) {
    Image image;
    int channels = 0;
    stbi_uc* pixels = stbi_load(path.c_str(), &image.width, &image.height, &channels, 3);
    if (pixels == nullptr) {
        return {};
    }
    image.rgb.assign(pixels, pixels + std::size_t(image.width) * image.height * 3);
    stbi_image_free(pixels);
    return image;
}

}  // namespace hushtest
