// Chunk splitting and the view test.
#include "device/BufferChunks.h"

#include <cmath>
#include <cstring>

namespace ember {

namespace {

// A chunk counts as outside only when its nearest point is this far (as a
// fraction of the plane's terms) beyond a plane: far more than the few
// units in the last place that the vertex stage may round differently.
constexpr float kMargin = 1.0e-4f;

void Include(BufferChunk& chunk, const BYTE* positions, UINT stride, WORD index) {
    float p[3];
    std::memcpy(p, positions + std::size_t(index) * stride, sizeof p);
    for (int axis = 0; axis < 3; ++axis) {
        if (!std::isfinite(p[axis])) {
            chunk.bounded = false;
        }
        chunk.lower[axis] = std::fmin(chunk.lower[axis], p[axis]);
        chunk.upper[axis] = std::fmax(chunk.upper[axis], p[axis]);
    }
}

}  // namespace

std::vector<BufferChunk> SplitIntoChunks(D3DPRIMITIVETYPE primitive, const WORD* indices,
                                         UINT primitiveCount, const BYTE* positions, UINT stride,
                                         UINT trianglesPerChunk) {
    const bool strip = primitive == D3DPT_TRIANGLESTRIP;
    std::vector<BufferChunk> chunks;
    chunks.reserve((primitiveCount + trianglesPerChunk - 1) / trianglesPerChunk);
    for (UINT first = 0; first < primitiveCount; first += trianglesPerChunk) {
        const UINT count =
            primitiveCount - first < trianglesPerChunk ? primitiveCount - first : trianglesPerChunk;
        BufferChunk chunk{};
        chunk.firstIndex = strip ? first : 3 * first;
        chunk.primitiveCount = count;
        chunk.bounded = true;
        for (int axis = 0; axis < 3; ++axis) {
            chunk.lower[axis] = INFINITY;
            chunk.upper[axis] = -INFINITY;
        }
        const UINT indexCount = strip ? count + 2 : 3 * count;
        for (UINT i = 0; i < indexCount; ++i) {
            Include(chunk, positions, stride, indices[chunk.firstIndex + i]);
        }
        chunks.push_back(chunk);
    }
    return chunks;
}

// Row vectors: clip component j is x m(0,j) + y m(1,j) + z m(2,j) + m(3,j).
ViewVolume ViewVolumeOf(const D3DXMATRIX& wvp) {
    // Each plane as weights of the clip components x, y, z, w.
    static constexpr float kClipWeights[6][4] = {
        {1, 0, 0, 1}, {-1, 0, 0, 1}, {0, 1, 0, 1}, {0, -1, 0, 1}, {0, 0, 1, 0}, {0, 0, -1, 1},
    };
    ViewVolume view{};
    for (int plane = 0; plane < 6; ++plane) {
        for (int row = 0; row < 4; ++row) {
            float term = 0.0f;
            float scale = 0.0f;
            for (int column = 0; column < 4; ++column) {
                const float weight = kClipWeights[plane][column];
                term += weight * wvp.m[row][column];
                scale += std::fabs(weight * wvp.m[row][column]);
            }
            view.planes[plane][row] = term;
            view.scale[plane][row] = scale;
        }
    }
    return view;
}

bool ChunkOutsideView(const BufferChunk& chunk, const ViewVolume& view) {
    if (!chunk.bounded) {
        return false;
    }
    for (int plane = 0; plane < 6; ++plane) {
        const float* a = view.planes[plane];
        const float* s = view.scale[plane];
        // The box's corner furthest along the plane's normal.
        float nearest = a[3];
        float size = s[3];
        for (int axis = 0; axis < 3; ++axis) {
            nearest += a[axis] * (a[axis] > 0.0f ? chunk.upper[axis] : chunk.lower[axis]);
            size += s[axis] * std::fmax(std::fabs(chunk.lower[axis]), std::fabs(chunk.upper[axis]));
        }
        if (nearest < -kMargin * size) {
            return true;
        }
    }
    return false;
}

}  // namespace ember
