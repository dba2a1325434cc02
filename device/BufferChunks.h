// A large static buffer's triangles in consecutive chunks, each with the
// model-space box of the vertices it reads, so a draw can leave out the
// chunks that lie wholly outside the view.
#pragma once

#include <d3d9.h>
#include <d3dx9.h>

#include <vector>

namespace ember {

struct BufferChunk {
    UINT firstIndex;      // where the chunk's first triangle starts
    UINT primitiveCount;  // triangles in the chunk
    float lower[3];       // the box of every vertex the chunk reads
    float upper[3];
    bool bounded;  // false when a position is not finite: always drawn
};

// Triangles per chunk; even, so a strip's chunks all start on a triangle
// of the strip's first winding.
constexpr UINT kTrianglesPerChunk = 128;
// Buffers with fewer triangles are drawn whole.
constexpr UINT kChunkedBufferTriangles = 4 * kTrianglesPerChunk;

// Splits the triangles of a list or strip into chunks of trianglesPerChunk
// (even; the last chunk holds what is left). A strip's chunk starting at
// triangle s reads indices s to s + n + 1, overlapping the next chunk by
// two, so each triangle is drawn once and with its own winding. positions
// points at the first vertex's x, y, z; vertices are stride bytes apart.
std::vector<BufferChunk> SplitIntoChunks(D3DPRIMITIVETYPE primitive, const WORD* indices,
                                         UINT primitiveCount, const BYTE* positions, UINT stride,
                                         UINT trianglesPerChunk);

// The clip-space half-spaces of the view of a world-view-projection matrix
// (row vectors: clip = (x, y, z, 1) * wvp), as Direct3D clips: -w <= x <= w,
// -w <= y <= w, 0 <= z <= w.
struct ViewVolume {
    float planes[6][4];  // a, b, c, d: inside where a x + b y + c z + d >= 0
    float scale[6][4];   // the magnitudes of the same terms, for the margin
};

ViewVolume ViewVolumeOf(const D3DXMATRIX& wvp);

// Whether no point of the chunk's box lies inside the view, with a margin
// for the rounding of the vertex stage: a chunk drawn would give no pixel.
bool ChunkOutsideView(const BufferChunk& chunk, const ViewVolume& view);

}  // namespace ember
