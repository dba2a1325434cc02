// The box-filtered mipmap chain: each level the rounded mean of 2 x 2 texels
// above it, sides of 1 kept, odd last rows dropped, the levels one after
// another.
#include "platform/d3d9/mip_chain.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(MipChain, ChainSizesHalveDownToOneTexel) {
    // 4x2, 2x1, 1x1 below an 8x4 top.
    EXPECT_EQ(MipChainBytes(8, 4), (8u + 2u + 1u) * 4u);
    // 1024x768 ends ..., 4x3, 2x1, 1x1.
    EXPECT_EQ(MipChainBytes(4, 3), (2u + 1u) * 4u);
    EXPECT_EQ(MipChainBytes(1, 1), 0u);
    EXPECT_EQ(MipChainBytes(1, 4), (2u + 1u) * 4u);
}

TEST(MipChain, EachTexelIsTheRoundedMeanOfTheFourAboveIt) {
    // 4x2 RGBA: the left 2x2 block averages to 1.5 (rounded up to 2) in red,
    // the right block mixes black and white per channel.
    const std::vector<std::uint8_t> level = {
        1, 0, 255, 255, 2, 0, 255, 255, 0,   0, 0, 0, 255, 255, 255, 255,  //
        1, 0, 255, 0,   2, 0, 255, 0,   255, 0, 0, 0, 0,   255, 255, 255};
    std::vector<std::uint8_t> below(2 * 1 * 4, 0xAA);
    HalveLevel(level.data(), 4, 2, below.data());
    EXPECT_EQ(below, (std::vector<std::uint8_t>{2, 0, 255, 128, 128, 128, 128, 128}));
}

TEST(MipChain, SidesOfOneAndOddRows) {
    // A 1x4 column halves to 1x2, each the mean of two texels.
    const std::vector<std::uint8_t> column = {0,  0,  0,  0,  10, 10, 10, 10,
                                              20, 20, 20, 20, 31, 31, 31, 31};
    std::vector<std::uint8_t> below(1 * 2 * 4);
    HalveLevel(column.data(), 1, 4, below.data());
    EXPECT_EQ(below, (std::vector<std::uint8_t>{5, 5, 5, 5, 26, 26, 26, 26}));
    // Three rows of one texel: the last row is dropped.
    const std::vector<std::uint8_t> three = {0, 0, 0, 0, 100, 100, 100, 100, 255, 255, 255, 255};
    std::vector<std::uint8_t> one(4);
    HalveLevel(three.data(), 1, 3, one.data());
    EXPECT_EQ(one, (std::vector<std::uint8_t>{50, 50, 50, 50}));
}

TEST(MipChain, TheChainHoldsEachLevelBelowTheLast) {
    // 4x2 halves to 2x1, then to 1x1.
    std::vector<std::uint8_t> top(4 * 2 * 4);
    for (std::size_t i = 0; i < top.size(); ++i) {
        top[i] = std::uint8_t(i * 7);
    }
    std::vector<std::uint8_t> chain(MipChainBytes(4, 2), 0xAA);
    MakeMipChain(top.data(), 4, 2, chain.data());
    std::vector<std::uint8_t> second(2 * 1 * 4);
    HalveLevel(top.data(), 4, 2, second.data());
    std::vector<std::uint8_t> third(4);
    HalveLevel(second.data(), 2, 1, third.data());
    second.insert(second.end(), third.begin(), third.end());
    EXPECT_EQ(chain, second);
}

}  // namespace
