// The recording render device: calls recorded in order with their
// arguments, ids from 1, unknown ids refused, scripted failures.
#include "device/RecordingRenderDevice.h"

#include <gtest/gtest.h>

namespace {

const Color4 kRed{1, 0, 0, 1};
const Color4 kGrey{0.5f, 0.5f, 0.5f, 0};

TEST(RecordingRenderDevice, IssuesIdsFromOneAndRefusesOthers) {
    CRecordingRenderDevice device;
    CSkinManager* skins = device.GetSkinManager();
    CBufferManager* buffers = device.GetBufferManager();
    UINT first = 0;
    UINT second = 0;
    ASSERT_EQ(skins->AddSkin(kRed, kGrey, kGrey, kGrey, 1.0f, &first), S_OK);
    ASSERT_EQ(skins->AddSkin(kRed, kGrey, kGrey, kGrey, 2.0f, &second), S_OK);
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(second, 2u);

    EXPECT_EQ(skins->AddSkinTexture(0, "textures\\a.tga", 0, 1.0f), E_FAIL);
    EXPECT_EQ(skins->AddSkinTexture(3, "textures\\a.tga", 0, 1.0f), E_FAIL);
    EXPECT_EQ(skins->AddSkinTexture(2, "textures\\a.tga", 0, 1.0f), S_OK);

    const PictureVertex quad[3] = {
        {0, 0, 0, 0xFFFFFFFF, 0, 0}, {1, 0, 0, 0xFF000000, 1, 0}, {0, 1, 0, 0xFF00FF00, 0, 1}};
    const WORD indices[3] = {0, 1, 2};
    UINT buffer = 0;
    EXPECT_EQ(buffers->CreateStaticBuffer(kVertexFormatPicture, 9, 3, 3, quad, indices,
                                          kPrimitiveTriangleList, &buffer),
              E_FAIL);
    EXPECT_EQ(buffer, 0u);
    ASSERT_EQ(buffers->CreateStaticBuffer(kVertexFormatPicture, first, 3, 3, quad, indices,
                                          kPrimitiveTriangleList, &buffer),
              S_OK);
    EXPECT_EQ(buffer, 1u);
    EXPECT_EQ(buffers->RenderStaticBuffer(buffer, 1), S_OK);
    EXPECT_EQ(buffers->RenderStaticBuffer(0, 1), E_FAIL);
    EXPECT_EQ(buffers->RenderStaticBuffer(2, 1), E_FAIL);

    EXPECT_EQ(device.UseShaderEffect(1), E_FAIL);
    const UINT effect = device.LoadShaderEffect("data\\shaders\\vsm.fx");
    EXPECT_EQ(effect, 1u);
    EXPECT_EQ(device.UseShaderEffect(effect), S_OK);

    const auto created = device.CallsNamed("CreateStaticBuffer");
    ASSERT_EQ(created.size(), 2u);
    EXPECT_EQ(created[0].result, E_FAIL);
    EXPECT_EQ(created[1].skin, first);
    EXPECT_EQ(created[1].buffer, 1u);
    EXPECT_EQ(created[1].vertices.size(), sizeof quad);
    EXPECT_EQ(created[1].indices, (std::vector<WORD>{0, 1, 2}));
}

TEST(RecordingRenderDevice, RefusesBadBufferArguments) {
    CRecordingRenderDevice device;
    UINT skin = 0;
    device.GetSkinManager()->AddSkin(kRed, kRed, kRed, kRed, 1.0f, &skin);
    CBufferManager* buffers = device.GetBufferManager();
    const PictureVertex vertices[2] = {};
    const WORD outside[3] = {0, 1, 2};
    UINT buffer = 0;
    EXPECT_EQ(buffers->CreateStaticBuffer(kVertexFormatPicture, skin, 2, 3, vertices, outside,
                                          kPrimitiveTriangleList, &buffer),
              E_INVALIDARG);
    EXPECT_EQ(buffers->CreateStaticBuffer(3, skin, 2, 0, vertices, nullptr, kPrimitiveTriangleList,
                                          &buffer),
              E_INVALIDARG);
    EXPECT_EQ(buffers->CreateStaticBuffer(kVertexFormatPicture, skin, 2, 3, nullptr, outside,
                                          kPrimitiveTriangleStrip, &buffer),
              E_INVALIDARG);
    // An empty index list is a valid buffer that draws nothing.
    EXPECT_EQ(buffers->CreateStaticBuffer(kVertexFormatModel, skin, 0, 0, nullptr, nullptr,
                                          kPrimitiveTriangleList, &buffer),
              S_OK);
    EXPECT_EQ(buffer, 1u);
}

TEST(RecordingRenderDevice, ScriptedFailuresStartAtTheNthCall) {
    CRecordingRenderDevice device;
    device.FailFrom("AddSkin", 2, E_OUTOFMEMORY);
    device.FailFrom("GetBufferManager", 1);
    CSkinManager* skins = device.GetSkinManager();
    UINT skin = 0;
    EXPECT_EQ(skins->AddSkin(kRed, kRed, kRed, kRed, 1.0f, &skin), S_OK);
    skin = 0;
    EXPECT_EQ(skins->AddSkin(kRed, kRed, kRed, kRed, 1.0f, &skin), E_OUTOFMEMORY);
    EXPECT_EQ(skin, 0u);
    EXPECT_EQ(skins->AddSkin(kRed, kRed, kRed, kRed, 1.0f, &skin), E_OUTOFMEMORY);
    EXPECT_EQ(device.GetBufferManager(), nullptr);
    EXPECT_EQ(device.CallsNamed("AddSkin").size(), 3u);
}

TEST(RecordingRenderDevice, RecordsFrameAndShaderCallsWithTheirArguments) {
    CRecordingRenderDevice device;
    ASSERT_EQ(device.Open(nullptr, 1, 0, 1), S_OK);
    EXPECT_EQ(device.drawFlag, 1);
    device.SetupPerspective(0.785f, Viewport{0, 0, 1024, 768}, 0);
    device.BeginFrame(1, 1, 0);
    device.SetShaderFloat("fTime", 2.5f);
    Matrix4 world;
    world.SetIdentity();
    world._42 = 7.0f;
    device.SetShaderMatrix("World", world);
    device.EndFrame();

    const auto& calls = device.Calls();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[0].ints, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(calls[1].viewport.height, 768);
    EXPECT_EQ(calls[2].ints, (std::vector<int>{1, 1, 0}));
    EXPECT_EQ(calls[3].name, "fTime");
    EXPECT_EQ(calls[3].floats, std::vector<float>{2.5f});
    EXPECT_EQ(calls[4].matrix._42, 7.0f);
    EXPECT_EQ(calls[5].call, "EndFrame");
}

}  // namespace
