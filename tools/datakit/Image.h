// Float images for painting: RGBA pictures and single-channel masks.
#pragma once

#include <cstddef>
#include <vector>

namespace datakit {

struct Color {
    double r = 0.0, g = 0.0, b = 0.0;
};

inline Color operator+(Color a, Color b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Color operator-(Color a, Color b) {
    return {a.r - b.r, a.g - b.g, a.b - b.b};
}
inline Color operator*(Color a, double s) {
    return {a.r * s, a.g * s, a.b * s};
}
inline Color operator*(double s, Color a) {
    return a * s;
}
inline Color operator*(Color a, Color b) {
    return {a.r * b.r, a.g * b.g, a.b * b.b};
}
inline Color Mix(Color a, Color b, double t) {
    return a + (b - a) * t;
}
// A colour from 0-255 components, as painters pick them.
inline Color Rgb8(int r, int g, int b) {
    return {r / 255.0, g / 255.0, b / 255.0};
}
double Luma(Color c);

// Single-channel float raster, row 0 at the top.
class Mask {
public:
    Mask(int width, int height, float fill = 0.0f);
    int Width() const { return width_; }
    int Height() const { return height_; }
    float& At(int x, int y) { return data_[static_cast<std::size_t>(y) * width_ + x]; }
    float At(int x, int y) const { return data_[static_cast<std::size_t>(y) * width_ + x]; }
    // Bilinear sample with clamped edges; coordinates in pixels.
    float Sample(double x, double y) const;

private:
    int width_, height_;
    std::vector<float> data_;
};

// RGBA raster, components nominally in [0, 1], row 0 at the top.
class Image {
public:
    Image(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    Color Get(int x, int y) const;
    float Alpha(int x, int y) const { return data_[Index(x, y) + 3]; }
    void Set(int x, int y, Color c, double alpha = 1.0);
    const std::vector<float>& Data() const { return data_; }

private:
    std::size_t Index(int x, int y) const { return (static_cast<std::size_t>(y) * width_ + x) * 4; }
    int width_, height_;
    std::vector<float> data_;
};

}  // namespace datakit
