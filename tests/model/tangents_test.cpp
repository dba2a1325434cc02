// Tangent frames: the unit tangent along u, orthogonal to the normal, and
// the handedness of v; unused vertices, shared vertices, degenerate mappings.
#include "model/LoadMM.h"
#include "tests/model/ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

struct Corner {
    float x, y, z, u, v;
};

class TangentTest : public ::testing::Test {
protected:
    // One vertex per corner, normal (0, 0, 1); faces index them.
    void Build(const std::vector<Corner>& corners, const std::vector<std::array<WORD, 3>>& faces) {
        model_.vertexCount = static_cast<int>(corners.size());
        model_.modelVertices.reset(new ModelVertex[corners.size()]());
        for (std::size_t i = 0; i < corners.size(); ++i) {
            ModelVertex& vertex = model_.modelVertices[i];
            vertex.position.Set(corners[i].x, corners[i].y, corners[i].z);
            vertex.normal.Set(0, 0, 1);
            vertex.u = corners[i].u;
            vertex.v = corners[i].v;
        }
        model_.faceCount = static_cast<int>(faces.size());
        model_.faceList.reset(new ModelFace[faces.size()]());
        for (std::size_t f = 0; f < faces.size(); ++f) {
            for (int c = 0; c < 3; ++c) {
                model_.faceList[f].index[c] = faces[f][c];
            }
        }
        ASSERT_EQ(model_.ComputeTangents(), S_OK);
    }
    void ExpectFrame(int i, float x, float y, float z, float handedness) const {
        const ModelVertex& vertex = model_.modelVertices[i];
        EXPECT_EQ(vertex.tangent.x, x) << "vertex " << i;
        EXPECT_EQ(vertex.tangent.y, y) << "vertex " << i;
        EXPECT_EQ(vertex.tangent.z, z) << "vertex " << i;
        EXPECT_EQ(vertex.handedness, handedness) << "vertex " << i;
    }

    mmtest::LogCapture log_;
    LoadMM model_;
};

TEST_F(TangentTest, SingleTriangleIsLeftHanded) {
    Build({{0, 0, 0, 0, 0}, {1, 0, 0, 1, 0}, {0, 1, 0, 0, 1}}, {{0, 1, 2}});
    for (int i = 0; i < 3; ++i) {
        ExpectFrame(i, 1, 0, 0, -1);
    }
}

TEST_F(TangentTest, MirroredUIsRightHanded) {
    Build({{0, 0, 0, 1, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 1, 1}}, {{0, 1, 2}});
    for (int i = 0; i < 3; ++i) {
        ExpectFrame(i, -1, 0, 0, 1);
    }
}

TEST_F(TangentTest, UnusedVertexKeepsAZeroTangent) {
    Build({{0, 0, 0, 0, 0}, {1, 0, 0, 1, 0}, {0, 1, 0, 0, 1}, {5, 5, 5, 0.5f, 0.5f}}, {{0, 1, 2}});
    ExpectFrame(3, 0, 0, 0, 1);
}

TEST_F(TangentTest, SharedVertexSumsBothFaces) {
    // Face 1 maps u along x, face 2 along y: the shared vertex 0 sums both
    // s directions, (1, 0, 0) + (0, 1, 0), and normalises the sum.
    Build({{0, 0, 0, 0, 0}, {1, 0, 0, 1, 0}, {0, 1, 0, 0, 1}, {0, 1, 0, 1, 0}, {-1, 0, 0, 0, 1}},
          {{0, 1, 2}, {0, 3, 4}});
    const float k = static_cast<float>(1.0 / static_cast<float>(std::sqrt(2.0)));
    const float expected = static_cast<float>(double{1.0f} * k);
    ExpectFrame(0, expected, expected, 0, -1);
    ExpectFrame(1, 1, 0, 0, -1);
    ExpectFrame(3, 0, 1, 0, -1);
}

TEST_F(TangentTest, DegenerateMappingIsSkipped) {
    // Face 1's corners share one u, v: it adds nothing (no infinities) to
    // vertex 0, which face 2 maps cleanly.
    Build({{0, 0, 0, 0.5f, 0.5f},
           {1, 0, 0, 0.5f, 0.5f},
           {0, 1, 0, 0.5f, 0.5f},
           {1, 0, 0, 1.5f, 0.5f},
           {0, 1, 0, 0.5f, 1.5f}},
          {{0, 1, 2}, {0, 3, 4}});
    ExpectFrame(0, 1, 0, 0, -1);
    ExpectFrame(1, 0, 0, 0, 1);
    ExpectFrame(2, 0, 0, 0, 1);
}

TEST_F(TangentTest, TangentAlongTheNormalStaysUnnormalised) {
    // u grows along z, the normal's own direction: nothing survives the
    // orthogonalisation, and the zero vector is left as it is.
    Build({{0, 0, 0, 0, 0}, {0, 0, 1, 1, 0}, {0, 1, 0, 0, 1}}, {{0, 1, 2}});
    ExpectFrame(0, 0, 0, 0, 1);
}

}  // namespace
