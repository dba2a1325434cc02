// Quantises to 8 bits and hands the bytes to stb_image_write.
#include "tools/datakit/ImageFile.h"

#include <stb_image_write.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace datakit {
namespace {

std::uint8_t ToByte(float v) {
    double x = v * 255.0 + 0.5;
    if (x < 0.0) {
        return 0;
    }
    if (x > 255.0) {
        return 255;
    }
    return static_cast<std::uint8_t>(x);
}

}  // namespace

void WriteImage(const Image& image, const std::filesystem::path& path, ImageFormat format) {
    std::filesystem::create_directories(path.parent_path());
    const int channels =
        (format == ImageFormat::PngWithAlpha || format == ImageFormat::Tga) ? 4 : 3;
    const int w = image.Width(), h = image.Height();
    std::vector<std::uint8_t> bytes(static_cast<size_t>(w) * h * channels);
    const std::vector<float>& src = image.Data();
    for (size_t p = 0; p < static_cast<size_t>(w) * h; ++p) {
        for (int c = 0; c < channels; ++c) {
            bytes[p * channels + c] = ToByte(src[p * 4 + c]);
        }
    }
    const std::string name = path.string();
    int ok = 0;
    switch (format) {
        case ImageFormat::Png:
        case ImageFormat::PngWithAlpha:
            ok = stbi_write_png(name.c_str(), w, h, channels, bytes.data(), w * channels);
            break;
        case ImageFormat::Jpeg:
            ok = stbi_write_jpg(name.c_str(), w, h, channels, bytes.data(), 92);
            break;
        case ImageFormat::Tga:
            ok = stbi_write_tga(name.c_str(), w, h, channels, bytes.data());
            break;
    }
    if (!ok) {
        throw std::runtime_error("cannot write " + name);
    }
}

}  // namespace datakit
