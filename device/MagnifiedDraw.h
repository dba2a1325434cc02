// Whether a small textured draw shows its texture magnified everywhere, so
// that sampling only the texture's top level gives the same pixels as
// mipmapped filtering: where a pixel covers at most one texel the filter
// reads the top level alone, and the rasteriser's non-mipmapped path does
// the same work for about half the price.
#pragma once

#include <d3dx9.h>

#include <cstddef>

namespace ember {

struct TexturedCorner {
    float x, y, z;
    float u, v;
};

// corners holds triangles, three corners each, drawn through wvp into a
// viewport of the given size; the texture's top level is textureWidth x
// textureHeight texels. True only when no point of any triangle can map
// more than kMagnifiedTexelsPerPixel texels onto a pixel along either
// screen axis (the bound is conservative: false when unsure, when a
// corner lies behind the eye or nothing is known).
bool MagnifiedEverywhere(const TexturedCorner* corners, std::size_t cornerCount,
                         const D3DXMATRIX& wvp, float viewportWidth, float viewportHeight,
                         float textureWidth, float textureHeight);

// Below one texel per pixel, with room for the rasteriser's approximate
// level-of-detail arithmetic and its finite differences across pixel quads.
constexpr double kMagnifiedTexelsPerPixel = 0.95;

}  // namespace ember
