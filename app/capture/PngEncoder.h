// PNG encoding through stb_image_write without allocating per frame: the
// encoder's working memory comes from an arena sized once for the image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class PngDeflate;

class PngEncoder {
public:
    // Images of width x height pixels with `channels` bytes each.
    PngEncoder(int width, int height, int channels);
    ~PngEncoder();
    PngEncoder(const PngEncoder&) = delete;
    PngEncoder& operator=(const PngEncoder&) = delete;

    // Encodes pixels (top row first, rows packed) with fast compression.
    // The bytes stay valid until the next call; null when encoding failed.
    const std::uint8_t* Encode(const std::uint8_t* pixels, std::size_t* size);

    struct Arena;

private:
    int width_;
    int height_;
    int channels_;
    std::unique_ptr<Arena> arena_;
    std::unique_ptr<PngDeflate> deflate_;
    std::uint8_t* encoded_ = nullptr;
};
