// Picture decoding through stb_image, always to four channels.
#include "image_file.h"

#include <stb_image.h>
#include <win32_standin.h>

#include <cstring>
#include <memory>

ImageLoad LoadImageFile(const char* path, Image* image) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(win32::OpenFile(path, "rb"), &std::fclose);
    if (!file) {
        return ImageLoad::Missing;
    }
    int width = 0, height = 0, channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_file(file.get(), &width, &height, &channels, 4), &stbi_image_free);
    if (!pixels || width <= 0 || height <= 0) {
        return ImageLoad::Undecodable;
    }
    image->width = width;
    image->height = height;
    image->rgba.assign(pixels.get(), pixels.get() + std::size_t(width) * std::size_t(height) * 4);
    return ImageLoad::Loaded;
}
