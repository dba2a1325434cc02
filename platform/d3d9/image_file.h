// Picture files decoded for textures: JPEG, PNG and TGA through stb_image.
#pragma once

#include <cstdint>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    // RGBA bytes, row 0 (the top of the picture) first.
    std::vector<std::uint8_t> rgba;
};

enum class ImageLoad { Loaded, Missing, Undecodable };

// Reads a system path (backslashes allowed).
ImageLoad LoadImageFile(const char* path, Image* image);
