// The box filter of the mipmap chain.
#include "mip_chain.h"

#include <algorithm>

std::size_t MipChainBytes(int width, int height) {
    std::size_t bytes = 0;
    while (width > 1 || height > 1) {
        width = std::max(width / 2, 1);
        height = std::max(height / 2, 1);
        bytes += std::size_t(width) * std::size_t(height) * 4;
    }
    return bytes;
}

void HalveLevel(const std::uint8_t* level, int width, int height, std::uint8_t* below) {
    const int belowWidth = std::max(width / 2, 1);
    const int belowHeight = std::max(height / 2, 1);
    const std::size_t pitch = std::size_t(width) * 4;
    for (int y = 0; y < belowHeight; ++y) {
        // A side of 1 reads its one row or column twice.
        const std::uint8_t* top = level + std::size_t(2 * y) * pitch;
        const std::uint8_t* bottom = height > 1 ? top + pitch : top;
        std::uint8_t* out = below + std::size_t(y) * std::size_t(belowWidth) * 4;
        for (int x = 0; x < belowWidth; ++x) {
            const std::size_t left = std::size_t(2 * x) * 4;
            const std::size_t right = width > 1 ? left + 4 : left;
            for (std::size_t c = 0; c < 4; ++c) {
                const unsigned sum =
                    unsigned(top[left + c]) + top[right + c] + bottom[left + c] + bottom[right + c];
                out[std::size_t(x) * 4 + c] = std::uint8_t((sum + 2) / 4);
            }
        }
    }
}

void MakeMipChain(const std::uint8_t* top, int width, int height, std::uint8_t* chain) {
    const std::uint8_t* level = top;
    while (width > 1 || height > 1) {
        HalveLevel(level, width, height, chain);
        width = std::max(width / 2, 1);
        height = std::max(height / 2, 1);
        level = chain;
        chain += std::size_t(width) * std::size_t(height) * 4;
    }
}
