// The capture's PNG compressor against stb_image_write's own: the same
// bytes for every kind of input, so PNG captures stay what they were.
#include "app/capture/PngDeflate.h"
#include "app/capture/PngEncoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes StbZlib(Bytes data) {
    int size = 0;
    unsigned char* out = stbi_zlib_compress(data.data(), static_cast<int>(data.size()), &size, 1);
    Bytes bytes(out, out + size);
    std::free(out);
    return bytes;
}

Bytes OurZlib(const Bytes& data) {
    PngDeflate deflate(1);
    Bytes out(PngDeflate::Bound(data.size()));
    out.resize(deflate.Compress(data.data(), static_cast<int>(data.size()), out.data()));
    return out;
}

// Runs, repeats near and beyond the 32 KiB window, matches longer than 258
// bytes, and noise sprinkled over them: the choices the match finder makes.
Bytes Structured(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes data(size);
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned pick = random() % 100;
        if (pick < 5 || i < 64) {
            data[i] = static_cast<std::uint8_t>(random());
        } else if (pick < 40) {
            data[i] = data[i - 1 - random() % 4];
        } else if (pick < 70 && i >= 40000) {
            data[i] = data[i - 32760 - random() % 16];
        } else {
            data[i] = data[i - 64];
        }
    }
    return data;
}

TEST(PngDeflate, MakesStbImageWritesZlibStreamByteForByte) {
    std::mt19937 random(7);
    std::vector<Bytes> inputs = {{}, {1}, {1, 2, 3}, {1, 2, 3, 4}, Bytes(5, 9), Bytes(1000, 0)};
    Bytes noise(100000);
    for (std::uint8_t& byte : noise) {
        byte = static_cast<std::uint8_t>(random());
    }
    inputs.push_back(noise);  // stored: coding would make it bigger
    inputs.push_back(Structured(200000, 1));
    inputs.push_back(Structured(70001, 2));
    for (const Bytes& input : inputs) {
        EXPECT_EQ(OurZlib(input), StbZlib(input)) << input.size() << " bytes";
    }
}

TEST(PngDeflate, PngsAreTheOnesStbImageWriteMakes) {
    stbi_write_png_compression_level = 1;
    for (const auto& [width, height, channels] :
         {std::tuple{1, 1, 3}, std::tuple{7, 5, 3}, std::tuple{1024, 768, 3},
          std::tuple{64, 48, 4}}) {
        const Bytes pixels =
            Structured(std::size_t(width) * std::size_t(height) * std::size_t(channels), 3);
        PngEncoder encoder(width, height, channels);
        std::size_t size = 0;
        const std::uint8_t* ours = encoder.Encode(pixels.data(), &size);
        ASSERT_NE(ours, nullptr);
        int stbSize = 0;
        unsigned char* stb = stbi_write_png_to_mem(pixels.data(), width * channels, width, height,
                                                   channels, &stbSize);
        EXPECT_EQ(Bytes(ours, ours + size), Bytes(stb, stb + stbSize)) << width << "x" << height;
        std::free(stb);
    }
}

}  // namespace
