// The tunnel: its geometry to the bit, its static buffer, drawing, and what
// happens when the device refuses the buffer.
#include "device/RecordingRenderDevice.h"
#include "effects/TunnelEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

class TunnelEffectTest : public ::testing::Test {
protected:
    void SetUp() override {
        Color4 white = {1.0f, 1.0f, 1.0f, 1.0f};
        device_.GetSkinManager()->AddSkin(white, white, white, white, 1.0f, &tunnel_.skinId);
        device_.ClearCalls();
    }
    CRecordingRenderDevice device_;
    CTunnelEffect tunnel_;
};

TEST_F(TunnelEffectTest, StartsWithAZeroValuePairAndNoBuffer) {
    EXPECT_EQ(tunnel_.GetValuePair()[0], 0.0f);
    EXPECT_EQ(tunnel_.GetValuePair()[1], 0.0f);
    const float pair[2] = {1.5f, -2.0f};
    tunnel_.SetValuePair(pair);
    EXPECT_EQ(tunnel_.GetValuePair(), tunnel_.valuePair);
    EXPECT_EQ(tunnel_.valuePair[0], 1.5f);
    EXPECT_EQ(tunnel_.valuePair[1], -2.0f);
    EXPECT_FALSE(tunnel_.HasBuffer());
    EXPECT_EQ(tunnel_.Render(0), 0);
    EXPECT_TRUE(device_.Calls().empty());
}

TEST_F(TunnelEffectTest, InitBuildsOneTriangleStripBufferOnTheSkin) {
    ASSERT_EQ(tunnel_.Init(&device_), 0);
    EXPECT_EQ(tunnel_.ringCount, 1024);
    EXPECT_EQ(tunnel_.radius, 30);
    EXPECT_EQ(tunnel_.segmentCount, 60);
    EXPECT_EQ(tunnel_.device, &device_);
    const RecordedCall buffer = device_.CallsNamed("CreateStaticBuffer").at(0);
    EXPECT_EQ(buffer.ints, (std::vector<int>{kVertexFormatPicture, kPrimitiveTriangleStrip}));
    EXPECT_EQ(buffer.skin, tunnel_.skinId);
    EXPECT_EQ(buffer.vertexCount, 62525u);
    EXPECT_EQ(buffer.indexCount, 124928u);
    EXPECT_EQ(buffer.vertices.size(), 62525u * 24u);
    EXPECT_EQ(std::memcmp(buffer.vertices.data(), tunnel_.vertices, buffer.vertices.size()), 0);
    EXPECT_EQ(tunnel_.bufferId, buffer.buffer);
    EXPECT_TRUE(tunnel_.HasBuffer());

    device_.ClearCalls();
    EXPECT_EQ(tunnel_.Render(7), 0);
    ASSERT_EQ(device_.Calls().size(), 2u);
    EXPECT_EQ(device_.Calls()[0].call, "GetBufferManager");
    EXPECT_EQ(device_.Calls()[1].call, "RenderStaticBuffer");
    EXPECT_EQ(device_.Calls()[1].buffer, tunnel_.bufferId);
    EXPECT_EQ(device_.Calls()[1].ints, std::vector<int>{1});
}

// Vertex i * 61 + j, computed here in single precision.
void ExpectVertex(const PictureVertex& v, int i, int j) {
    const float a = static_cast<float>(j) * (6.2831855f / 60.0f);
    EXPECT_EQ(v.x, std::sin(a) * 30.0f) << i << "," << j;
    EXPECT_EQ(v.y, std::cos(a) * 30.0f) << i << "," << j;
    EXPECT_EQ(v.z, -2.0f * static_cast<float>(i));
    EXPECT_EQ(v.colour, 0xFFFFFFFFu);
    EXPECT_EQ(v.u, static_cast<float>(j) * 23.0f / 60.0f);
    EXPECT_EQ(v.v, static_cast<float>(i) * 126.0f / 1024.0f);
}

TEST_F(TunnelEffectTest, RingsOf61VerticesCloseTheTextureAtU23) {
    tunnel_.Init(&device_);
    const PictureVertex* v = tunnel_.vertices;
    EXPECT_EQ(v[0].x, 0.0f);
    EXPECT_EQ(v[0].y, 30.0f);
    EXPECT_EQ(v[0].u, 0.0f);
    EXPECT_EQ(v[15].x, 30.0f);
    EXPECT_NEAR(v[15].y, 0.0f, 1e-5f);
    EXPECT_EQ(v[15].u, 5.75f);
    EXPECT_NEAR(v[60].x, 0.0f, 1e-4f);
    EXPECT_NEAR(v[60].y, 30.0f, 1e-4f);
    EXPECT_EQ(v[60].u, 23.0f);
    EXPECT_EQ(v[61].z, -2.0f);
    EXPECT_EQ(v[61].v, 0.123046875f);
    EXPECT_EQ(v[62524].z, -2048.0f);
    EXPECT_EQ(v[62524].v, 126.0f);
    EXPECT_EQ(v[62524].u, 23.0f);
    for (int i = 0; i <= 1024; ++i) {
        for (int j = 0; j <= 60; ++j) {
            ExpectVertex(v[i * 61 + j], i, j);
            if (HasFailure()) {
                return;
            }
        }
    }
}

TEST_F(TunnelEffectTest, TheStripZigZagsBetweenNeighbouringRings) {
    tunnel_.Init(&device_);
    const WORD* index = tunnel_.indices;
    EXPECT_EQ(std::vector<WORD>(index, index + 6), (std::vector<WORD>{0, 61, 1, 62, 2, 63}));
    EXPECT_EQ(index[124926], 62463);
    EXPECT_EQ(index[124927], 62524);
    // One ring step ends and the next begins through a zero-area join.
    EXPECT_EQ(std::vector<WORD>(index + 120, index + 124), (std::vector<WORD>{60, 121, 61, 122}));
    for (int n = 0; n < 124928; ++n) {
        ASSERT_LT(index[n], 62525) << n;
    }
}

TEST_F(TunnelEffectTest, ARefusedBufferIsReportedAndNeverDrawn) {
    device_.FailFrom("CreateStaticBuffer", 1);
    EXPECT_LT(tunnel_.Init(&device_), 0);
    EXPECT_FALSE(tunnel_.HasBuffer());
    EXPECT_NE(tunnel_.vertices, nullptr);
    device_.ClearCalls();
    tunnel_.Render(0);
    EXPECT_TRUE(device_.Calls().empty());
}

TEST_F(TunnelEffectTest, ShutdownFreesBothArraysAndInitBuildsThemAgain) {
    tunnel_.Init(&device_);
    tunnel_.Shutdown();
    EXPECT_EQ(tunnel_.vertices, nullptr);
    EXPECT_EQ(tunnel_.indices, nullptr);
    tunnel_.Shutdown();
    ASSERT_EQ(tunnel_.Init(&device_), 0);
    EXPECT_EQ(tunnel_.indices[1], 61);
}

}  // namespace
