// The zlib stream stb_image_write puts in its PNGs, byte for byte, made
// faster: the same hash chains, the same lazy matching and the same fixed
// Huffman codes, with matches compared eight bytes at a time, the chains in
// one table allocated once and the bits written a word at a time. Captures
// stay byte-identical to what stb_image_write itself makes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class PngDeflate {
public:
    // quality: stb_image_write's compression level (below 5 counts as 5):
    // each hash bucket keeps between quality and 2 x quality positions.
    explicit PngDeflate(int quality);

    // The most bytes Compress can write for size bytes.
    static std::size_t Bound(std::size_t size);
    // Compresses size bytes into out (Bound(size) bytes); returns the length.
    std::size_t Compress(const std::uint8_t* data, int size, std::uint8_t* out);

private:
    int quality_;
    // kBuckets rows of 2 x quality positions, oldest first, and their counts.
    std::vector<const std::uint8_t*> chains_;
    std::vector<int> counts_;
};
