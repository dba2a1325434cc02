// A texture's mipmap chain made on the CPU with a box filter, as D3DX makes
// it: each level halves the one above (a side of 1 stays 1), every texel the
// rounded mean of the 2 x 2 texels above it. Cheaper than a GL driver's own
// generation, which a software rasteriser does by drawing.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes all levels below the top take for an RGBA top of width x height.
std::size_t MipChainBytes(int width, int height);

// Writes the level below an RGBA level of width x height into below, of
// max(width / 2, 1) x max(height / 2, 1) texels. An odd last row or column
// is dropped, as the halving rounds down.
void HalveLevel(const std::uint8_t* level, int width, int height, std::uint8_t* below);

// Writes every level below an RGBA top of width x height into chain (of
// MipChainBytes(width, height) bytes), largest first.
void MakeMipChain(const std::uint8_t* top, int width, int height, std::uint8_t* chain);
