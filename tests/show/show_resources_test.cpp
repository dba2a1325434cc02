// What start-up builds for the show: the nine picture quads and the
// tunnel's skin and buffer.
#include "effects/TunnelEffect.h"
#include "show/ShowResources.h"
#include "device/RecordingRenderDevice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const kTextures[kPictureQuadCount] = {
    "data\\textures\\death_is_waiting.jpg",
    "data\\textures\\Waiting_For_Death_To_Come_by_Velimar.jpg",
    "data\\textures\\nothing.png",
    "data\\textures\\F_l_o_u_r_i_s_h.jpg",
    "data\\textures\\nny.png",
    "data\\textures\\vic.png",
    "data\\textures\\n.png",
    "textures\\scratch_messymiddle_mk_.tga",
    "data\\textures\\Dream_With_Me_by_Ostrelle.jpg",
};

std::vector<PictureVertex> VerticesOf(const RecordedCall& call) {
    std::vector<PictureVertex> vertices(call.vertexCount);
    std::memcpy(vertices.data(), call.vertices.data(), call.vertices.size());
    return vertices;
}

void ExpectWhite(const Color4& c) {
    EXPECT_EQ(c.r, 1.0f);
    EXPECT_EQ(c.g, 1.0f);
    EXPECT_EQ(c.b, 1.0f);
    EXPECT_EQ(c.a, 1.0f);
}

TEST(PictureQuadsTest, EachQuadGetsAWhiteSkinItsTextureAndAStaticBuffer) {
    CRecordingRenderDevice device;
    BuildPictureQuads(&device);
    std::vector<std::string> order;
    for (const RecordedCall& call : device.Calls()) {
        order.push_back(call.call);
    }
    const std::vector<std::string> oneQuad = {"GetSkinManager",   "AddSkin",
                                              "GetSkinManager",   "AddSkinTexture",
                                              "GetBufferManager", "CreateStaticBuffer"};
    ASSERT_EQ(order.size(), oneQuad.size() * kPictureQuadCount);
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(order[i], oneQuad[i % oneQuad.size()]);
    }

    const std::vector<RecordedCall> skins = device.CallsNamed("AddSkin");
    const std::vector<RecordedCall> textures = device.CallsNamed("AddSkinTexture");
    const std::vector<RecordedCall> buffers = device.CallsNamed("CreateStaticBuffer");
    for (int quad = 0; quad < kPictureQuadCount; ++quad) {
        SCOPED_TRACE(kTextures[quad]);
        ExpectWhite(skins[quad].ambient);
        ExpectWhite(skins[quad].specular);
        EXPECT_EQ(skins[quad].power, 1.0f);
        EXPECT_EQ(textures[quad].name, kTextures[quad]);
        EXPECT_EQ(textures[quad].skin, g_pictureSkinIds[quad]);
        EXPECT_EQ(textures[quad].ints, std::vector<int>{0});
        EXPECT_EQ(textures[quad].floats, std::vector<float>{1.0f});
        const RecordedCall& buffer = buffers[quad];
        EXPECT_EQ(buffer.ints, (std::vector<int>{kVertexFormatPicture, kPrimitiveTriangleList}));
        EXPECT_EQ(buffer.skin, g_pictureSkinIds[quad]);
        EXPECT_EQ(buffer.buffer, g_pictureBufferIds[quad]);
        EXPECT_EQ(buffer.vertexCount, 4u);
        EXPECT_EQ(buffer.indices, (std::vector<WORD>{0, 1, 2, 2, 1, 3}));
        const std::vector<PictureVertex> v = VerticesOf(buffer);
        const bool portrait = quad == kPictureDreamWithMe;
        const float halfWidth = portrait ? 20.0f : 29.0f;
        const float halfHeight = portrait ? 29.0f : 20.0f;
        const float expected[4][4] = {{-halfWidth, -halfHeight, 0.0f, 1.0f},
                                      {-halfWidth, halfHeight, 0.0f, 0.0f},
                                      {halfWidth, -halfHeight, 1.0f, 1.0f},
                                      {halfWidth, halfHeight, 1.0f, 0.0f}};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(v[i].x, expected[i][0]);
            EXPECT_EQ(v[i].y, expected[i][1]);
            EXPECT_EQ(v[i].z, 0.0f);
            EXPECT_EQ(v[i].u, expected[i][2]);
            EXPECT_EQ(v[i].v, expected[i][3]);
            EXPECT_EQ(v[i].colour, i == 3 ? 0xFFFFFF0Fu : 0xFFFFFF7Fu);
        }
    }
}

TEST(PictureQuadsTest, AllNineAreBuiltWhenTexturesFail) {
    CRecordingRenderDevice device;
    device.FailFrom("AddSkinTexture", 1);
    BuildPictureQuads(&device);
    const std::vector<RecordedCall> buffers = device.CallsNamed("CreateStaticBuffer");
    ASSERT_EQ(buffers.size(), 9u);
    for (int quad = 0; quad < kPictureQuadCount; ++quad) {
        EXPECT_EQ(g_pictureBufferIds[quad], static_cast<UINT>(quad + 1));
    }
}

TEST(TunnelSetUpTest, TheTunnelGetsAWhiteSkinWithItsTextureThenBuildsItsBuffer) {
    CRecordingRenderDevice device;
    BuildPictureQuads(&device);
    device.ClearCalls();
    SetUpTunnel(&device);
    const std::vector<RecordedCall> skins = device.CallsNamed("AddSkin");
    ASSERT_EQ(skins.size(), 1u);
    ExpectWhite(skins[0].diffuse);
    ExpectWhite(skins[0].emissive);
    EXPECT_EQ(skins[0].power, 1.0f);
    EXPECT_EQ(g_tunnelEffect.skinId, skins[0].skin);
    const RecordedCall texture = device.CallsNamed("AddSkinTexture").at(0);
    EXPECT_EQ(texture.name, "textures\\holeball.tga");
    EXPECT_EQ(texture.skin, g_tunnelEffect.skinId);
    const RecordedCall buffer = device.CallsNamed("CreateStaticBuffer").at(0);
    EXPECT_EQ(buffer.skin, g_tunnelEffect.skinId);
    EXPECT_EQ(g_tunnelEffect.bufferId, buffer.buffer);
    EXPECT_TRUE(g_tunnelEffect.HasBuffer());
    EXPECT_EQ(g_tunnelEffect.device, &device);
}

}  // namespace
