// Writes float images as 8-bit PNG, JPEG or 32-bit TGA files.
#pragma once

#include <filesystem>

#include "tools/datakit/Image.h"

namespace datakit {

enum class ImageFormat { Png, PngWithAlpha, Jpeg, Tga };

// Writes the image, creating the folders on the way; throws std::runtime_error
// when the file cannot be written.
void WriteImage(const Image& image, const std::filesystem::path& path, ImageFormat format);

}  // namespace datakit
