// Static buffers split into chunks: every triangle in exactly one chunk, a
// strip's chunks on even triangles and overlapping by two indices, boxes
// around what each chunk reads; and the view test that leaves chunks out.
#include "device/BufferChunks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using ember::BufferChunk;
using ember::ChunkOutsideView;
using ember::SplitIntoChunks;
using ember::ViewVolumeOf;

struct Position {
    float x, y, z;
    float padding[3];  // a stride larger than the position, as in real formats
};

const BYTE* Bytes(const std::vector<Position>& positions) {
    return reinterpret_cast<const BYTE*>(positions.data());
}

TEST(BufferChunks, StripChunksStartOnEvenTrianglesOverlapByTwoAndBoxWhatTheyRead) {
    // 23 indices, 21 triangles; vertex i at x = i, and y = 100 at index 6
    // alone, which the first chunk reads only through its overlap.
    std::vector<Position> positions;
    std::vector<WORD> indices;
    for (int i = 0; i < 23; ++i) {
        positions.push_back({float(i), i == 6 ? 100.0f : 0.0f, -float(i), {}});
        indices.push_back(WORD(i));
    }
    const std::vector<BufferChunk> chunks = SplitIntoChunks(D3DPT_TRIANGLESTRIP, indices.data(), 21,
                                                            Bytes(positions), sizeof(Position), 4);
    ASSERT_EQ(chunks.size(), 6u);
    UINT next = 0;
    for (const BufferChunk& chunk : chunks) {
        EXPECT_EQ(chunk.firstIndex, next);
        EXPECT_EQ(chunk.firstIndex % 2, 0u);
        EXPECT_TRUE(chunk.bounded);
        // A strip chunk of n triangles reads n + 2 indices from its start.
        EXPECT_EQ(chunk.lower[0], float(chunk.firstIndex));
        EXPECT_EQ(chunk.upper[0], float(chunk.firstIndex + chunk.primitiveCount + 1));
        EXPECT_EQ(chunk.lower[2], -float(chunk.firstIndex + chunk.primitiveCount + 1));
        EXPECT_EQ(chunk.upper[2], -float(chunk.firstIndex));
        next += chunk.primitiveCount;
    }
    EXPECT_EQ(next, 21u);
    EXPECT_EQ(chunks.back().primitiveCount, 1u);
    EXPECT_EQ(chunks[0].upper[1], 0.0f);
    EXPECT_EQ(chunks[1].upper[1], 100.0f);  // reads indices 4 to 9
    EXPECT_EQ(chunks[2].upper[1], 0.0f);
}

TEST(BufferChunks, ListChunksTakeThreeIndicesATriangleAndAPositionThatIsNotFiniteIsNeverLeftOut) {
    std::vector<Position> positions = {
        {0, 0, 0, {}}, {1, 0, 0, {}}, {0, 1, 0, {}}, {5, 5, 5, {}}, {NAN, 0, 0, {}}};
    // Seven triangles: the fourth reads the vertex that is not finite.
    const std::vector<WORD> indices = {0, 1, 2, 0, 1, 2, 0, 1, 3, 4, 1,
                                       2, 0, 1, 2, 0, 2, 1, 2, 1, 0};
    const std::vector<BufferChunk> chunks = SplitIntoChunks(D3DPT_TRIANGLELIST, indices.data(), 7,
                                                            Bytes(positions), sizeof(Position), 2);
    ASSERT_EQ(chunks.size(), 4u);
    EXPECT_EQ(chunks[0].firstIndex, 0u);
    EXPECT_EQ(chunks[1].firstIndex, 6u);
    EXPECT_EQ(chunks[3].firstIndex, 18u);
    EXPECT_EQ(chunks[3].primitiveCount, 1u);
    EXPECT_TRUE(chunks[0].bounded);
    EXPECT_EQ(chunks[1].upper[2], 5.0f);
    EXPECT_FALSE(chunks[1].bounded);

    // Any view at all: a chunk without a box is drawn.
    D3DXMATRIX away;
    D3DXMatrixTranslation(&away, 0.0f, 0.0f, -1.0e6f);
    EXPECT_FALSE(ChunkOutsideView(chunks[1], ViewVolumeOf(away)));
    EXPECT_TRUE(ChunkOutsideView(chunks[0], ViewVolumeOf(away)));
}

BufferChunk Box(float x0, float y0, float z0, float x1, float y1, float z1) {
    return {0, 1, {x0, y0, z0}, {x1, y1, z1}, true};
}

// The camera at the origin looking down +z, 90 degrees high, square,
// near 1 and far 100: inside are the points with |x|, |y| <= z, 1 <= z <= 100.
TEST(BufferChunks, BoxesWhollyBeyondOnePlaneAreOutsideAndAnyOtherIsNot) {
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, 1.5707964f, 1.0f, 1.0f, 100.0f);
    const ember::ViewVolume view = ViewVolumeOf(projection);

    EXPECT_FALSE(ChunkOutsideView(Box(-1, -1, 10, 1, 1, 12), view));           // in front
    EXPECT_FALSE(ChunkOutsideView(Box(-500, -500, -5, 500, 500, 500), view));  // around it all
    EXPECT_TRUE(ChunkOutsideView(Box(-1, -1, -12, 1, 1, -10), view));          // behind
    EXPECT_TRUE(ChunkOutsideView(Box(-1, -1, 0.2f, 1, 1, 0.9f), view));        // before near
    EXPECT_TRUE(ChunkOutsideView(Box(-1, -1, 110, 1, 1, 120), view));          // past far
    EXPECT_TRUE(ChunkOutsideView(Box(-30, -1, 10, -20, 1, 12), view));         // left
    EXPECT_TRUE(ChunkOutsideView(Box(20, -1, 10, 30, 1, 12), view));           // right
    EXPECT_TRUE(ChunkOutsideView(Box(-1, 20, 10, 1, 30, 12), view));           // above
    EXPECT_TRUE(ChunkOutsideView(Box(-1, -30, 10, 1, -20, 12), view));         // below
    // Straddling one plane, or each of two planes in turn, keeps a box in.
    EXPECT_FALSE(ChunkOutsideView(Box(-15, -1, 10, -5, 1, 12), view));
    EXPECT_FALSE(ChunkOutsideView(Box(-1, -1, 95, 1, 1, 105), view));
    EXPECT_FALSE(ChunkOutsideView(Box(-1, -1, -5, 1, 1, 5), view));
    // Outside left and outside right at once, but never beyond one of them.
    EXPECT_FALSE(ChunkOutsideView(Box(-30, -1, 10, 30, 1, 12), view));
    // Touching a plane, or a hair beyond it, is kept: the vertex stage may
    // round such a point inside.
    EXPECT_FALSE(ChunkOutsideView(Box(-20, -1, 10, -10, 1, 12), view));
    EXPECT_FALSE(ChunkOutsideView(Box(-20, -1, 10, std::nextafter(-10.0f, -20.0f), 1, 12), view));
}

// A world-view-projection in row-vector form moves the volume with it: a
// box at the far end of a turned and moved view is found where it lands.
TEST(BufferChunks, TheViewFollowsTheWholeWorldViewProjection) {
    D3DXMATRIX world, view, projection, worldView, wvp;
    D3DXMatrixRotationZ(&world, 1.0f);
    const D3DXVECTOR3 eye{8, -3, 10}, at{0, 0, 0}, up{0, 1, 0};
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, 0.7853982f, 4.0f / 3.0f, 1.0f, 4000.0f);
    D3DXMatrixMultiply(&worldView, &world, &view);
    D3DXMatrixMultiply(&wvp, &worldView, &projection);
    const ember::ViewVolume volume = ViewVolumeOf(wvp);
    // Around the world origin, which the camera looks at.
    EXPECT_FALSE(ChunkOutsideView(Box(-1, -1, -1, 1, 1, 1), volume));
    // Behind the camera, and far down -z, 40 degrees off its axis.
    EXPECT_TRUE(ChunkOutsideView(Box(-1, -1, 40, 1, 1, 42), volume));
    EXPECT_TRUE(ChunkOutsideView(Box(-30, -30, -1500, 30, 30, -1400), volume));
}

}  // namespace
