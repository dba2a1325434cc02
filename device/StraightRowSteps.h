// A triangle strip laid out as a grid (the tunnel's kind): each step zig-zags
// between one row of vertices and the next, column by column, and the steps
// join through zero-area triangles. Where consecutive rows advance every
// column by the same exact step in position and texture coordinates, with
// the colour unchanged, the triangles of those steps tile flat parallelograms
// whose texture coordinates are affine across them: one step from the first
// row of such a run to its last covers the same surface with the same
// texturing, in far fewer triangles.
#pragma once

#include <d3d9.h>

#include <vector>

namespace ember {

// The strip's indices with every run of straight steps made one step, for
// vertices in the picture format (x, y, z, ARGB colour, u, v); empty when the
// strip is not such a grid, an index lies outside the vertices, or nothing
// merges. The steps keep their order; within a merged step the triangles are
// drawn column by column, so where a run's triangles overlap on screen
// under blending their order changes (the tunnel, seen from inside its
// cross-section, has none that overlap).
std::vector<WORD> MergeStraightRowSteps(const WORD* indices, UINT indexCount, const BYTE* vertices,
                                        UINT vertexCount);

}  // namespace ember
