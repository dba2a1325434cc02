// Picture decoding through stb_image, always to four channels.
#include "image_file.h"

#include "picture_checks.h"

#include <stb_image.h>
#include <win32_standin.h>

#include <cstring>
#include <memory>

namespace {

// The largest texture Direct3D 9 hardware takes is 16384 on a side; the
// pixel count bounds the decoder's buffer to 256 MiB of RGBA. A header that
// promises more is refused before anything is allocated for it.
constexpr int kMaxSide = 16384;
constexpr long long kMaxPixels = 64LL * 1024 * 1024;

bool SizeIsTakeable(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           static_cast<long long>(width) * height <= kMaxPixels;
}

}  // namespace

ImageLoad LoadImageFile(const char* path, Image* image) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(win32::OpenFile(path, "rb"), &std::fclose);
    if (!file) {
        return ImageLoad::Missing;
    }
    int width = 0, height = 0, channels = 0;
    // Each check reads what it needs and puts the file back where it was.
    if (!IsJpegPngOrTga(file.get()) ||
        stbi_info_from_file(file.get(), &width, &height, &channels) == 0 ||
        !SizeIsTakeable(width, height) || !PngChunksFitTheFile(file.get()) ||
        !PixelsCouldBeInTheFile(file.get(), static_cast<long long>(width) * height)) {
        return ImageLoad::Undecodable;
    }
    std::unique_ptr<std::uint8_t[], FreeDecodedPixels> pixels(
        stbi_load_from_file(file.get(), &width, &height, &channels, 4));
    if (!pixels || !SizeIsTakeable(width, height)) {
        return ImageLoad::Undecodable;
    }
    image->width = width;
    image->height = height;
    image->rgba = std::move(pixels);
    return ImageLoad::Loaded;
}

void FreeDecodedPixels::operator()(std::uint8_t* pixels) const {
    stbi_image_free(pixels);
}
