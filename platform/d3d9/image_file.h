// Picture files decoded for textures: JPEG, PNG and TGA through stb_image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Gives the decoder's pixel buffer back.
struct FreeDecodedPixels {
    void operator()(std::uint8_t* pixels) const;
};

struct Image {
    int width = 0;
    int height = 0;
    // RGBA bytes, row 0 (the top of the picture) first: the decoder's own
    // buffer, kept rather than copied.
    std::unique_ptr<std::uint8_t[], FreeDecodedPixels> rgba;
    // The mipmap chain below it (mip_chain.h) when it was made with the
    // picture; empty when the texture makes it.
    std::vector<std::uint8_t> chain;

    std::size_t Bytes() const { return std::size_t(width) * std::size_t(height) * 4; }
};

enum class ImageLoad { Loaded, Missing, Undecodable };

// Reads a system path (backslashes allowed).
ImageLoad LoadImageFile(const char* path, Image* image);
