// The build and the registration: world frames, the y/z exchange, colours,
// lights, the texture list and skins, one buffer per material, and the
// limits on materials and vertices.
#include "device/RecordingRenderDevice.h"
#include "model/LoadMM.h"
#include "tests/model/ModelTestSupport.h"
#include "tests/platform/win32_test_support.h"

#include <win32_standin.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using mmtest::Header;
using mmtest::LogCapture;
using mmtest::Material;
using mmtest::Mesh;

class BuildTest : public ::testing::Test {
protected:
    int Load(const std::string& text) {
        path_ = files_.Write(text);
        return model_.LoadMesh(path_.c_str());
    }
    const ModelVertex& VertexAt(int i) const { return model_.modelVertices[i]; }

    mmtest::TempFiles files_;
    LogCapture log_;
    LoadMM model_;
    CRecordingRenderDevice device_;
    std::string path_;
};

void ExpectPosition(const ModelVertex& v, float x, float y, float z) {
    EXPECT_EQ(v.position.x, x);
    EXPECT_EQ(v.position.y, y);
    EXPECT_EQ(v.position.z, z);
}

TEST_F(BuildTest, WorldFrameExchangesYAndZ) {
    Mesh mesh;
    mesh.transform = {2, 0, 0, 0, 1, 0, 0, 0, 1, 10, 20, 30};
    mesh.vertices[2].normal = {0.25f, 0.5f, 0.75f};
    ASSERT_EQ(Load(Header() + mesh.Text()), 1);
    ASSERT_EQ(model_.vertexCount, 3);
    ExpectPosition(VertexAt(0), 10, 30, 20);
    ExpectPosition(VertexAt(1), 12, 30, 20);
    ExpectPosition(VertexAt(2), 10, 30, 21);
    // Normals are exchanged but not transformed.
    EXPECT_EQ(VertexAt(2).normal.x, 0.25f);
    EXPECT_EQ(VertexAt(2).normal.y, 0.75f);
    EXPECT_EQ(VertexAt(2).normal.z, 0.5f);
}

TEST_F(BuildTest, ParentsMoveVerticesByTheirOwnTransformOnly) {
    Mesh child;
    child.name = "Child";
    child.parent = "Pivot";
    child.material = "None";
    Mesh grandchild = child;
    grandchild.name = "Grandchild";
    grandchild.parent = "Child";
    grandchild.transform = {1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0, 0};
    Mesh orphan = child;
    orphan.name = "Orphan";
    orphan.parent = "";
    ASSERT_EQ(Load(Header() + mmtest::Helper("Pivot", "Root", 0, 0, 5) +
                   mmtest::Helper("Root", "", 100, 100, 100) + child.Text() + grandchild.Text() +
                   orphan.Text()),
              1);
    // The helper's (0, 0, 5) is along the model's y after the exchange; its
    // own parent does not count.
    ExpectPosition(VertexAt(0), 0, 5, 0);
    ExpectPosition(VertexAt(1), 1, 5, 0);
    ExpectPosition(VertexAt(2), 0, 5, 1);
    // A mesh parent lends its own transform (the identity), not the helper's.
    ExpectPosition(VertexAt(3), 1, 0, 0);
    ExpectPosition(VertexAt(6), 0, 0, 0);
}

TEST_F(BuildTest, ColoursComeFromTheMaterialOrTheVertex) {
    Mesh plain;
    plain.material = "Missing";
    plain.vertices[0].colour = {1.0f, 0.5f, 0.0f};
    plain.vertices[1].colour = {0.2f, 1.0f, 1.0f};
    Mesh stone;
    stone.name = "Stone mesh";
    Material material;
    material.diffuse = {1.0f, 0.5f, 0.25f};
    ASSERT_EQ(Load(Header() + material.Text() + plain.Text() + stone.Text()), 1);
    EXPECT_EQ(model_.scene->meshes[0].materialIndex, -1);
    EXPECT_EQ(VertexAt(0).colour, 0xFFFF7F00u);
    EXPECT_EQ(VertexAt(1).colour, 0xFF33FFFFu);
    EXPECT_EQ(VertexAt(3).colour, 0xFFFF7F3Fu);
    EXPECT_EQ(model_.faceList[0].material, -1);

    ASSERT_EQ(model_.Init(&device_), S_OK);
    // The unmatched mesh is in no buffer.
    const auto buffers = device_.CallsNamed("CreateStaticBuffer");
    ASSERT_EQ(buffers.size(), 1u);
    EXPECT_EQ(buffers[0].indices, (std::vector<WORD>{3, 4, 5}));
}

TEST_F(BuildTest, TwoMeshesOfOneMaterialShareOneBuffer) {
    Mesh second;
    second.name = "Second";
    second.faces = {{0, 1, 2, 0}, {2, 1, 0, -1}};
    ASSERT_EQ(Load(Header() + Material{}.Text() + Mesh{}.Text() + second.Text()), 1);
    ASSERT_EQ(model_.Init(&device_), S_OK);

    const auto buffers = device_.CallsNamed("CreateStaticBuffer");
    ASSERT_EQ(buffers.size(), 1u);
    const RecordedCall& buffer = buffers[0];
    EXPECT_EQ(buffer.ints, (std::vector<int>{kVertexFormatModel, kPrimitiveTriangleList}));
    EXPECT_EQ(buffer.vertexCount, 6u);
    EXPECT_EQ(buffer.indices, (std::vector<WORD>{0, 1, 2, 3, 4, 5, 5, 4, 3}));
    ASSERT_EQ(buffer.vertices.size(), 6 * sizeof(ModelVertex));
    EXPECT_EQ(
        std::memcmp(buffer.vertices.data(), model_.modelVertices.get(), buffer.vertices.size()), 0);
    EXPECT_EQ(buffer.skin, model_.skinIds[0]);
    EXPECT_EQ(model_.bufferIds[0], buffer.buffer);
    EXPECT_EQ(model_.indexCounts[0], 9);
    EXPECT_EQ(log_.Find("mat '0' :: num faces '3'\n"), static_cast<int>(log_.lines.size()) - 1);
}

TEST_F(BuildTest, SharedVertexKeepsTheLastFacesCoordinates) {
    Mesh mesh;
    mesh.channels = 2;
    mesh.faces = {{0, 1, 2, 0}, {0, 2, 1, 1}, {0, 1, 2, -1}};
    for (int i = 0; i < 3; ++i) {
        mesh.vertices[i].uv = {0.1f, 0.2f, 0.7f + static_cast<float>(i), 0.8f};
    }
    ASSERT_EQ(Load(Header() + mesh.Text()), 1);
    EXPECT_EQ(VertexAt(1).u, 1.7f);
    EXPECT_EQ(VertexAt(1).v, 0.8f);
    EXPECT_EQ(VertexAt(2).u, 2.7f);
}

TEST_F(BuildTest, LightsLandAtTheirTranslationWithYAndZExchanged) {
    ASSERT_EQ(Load(Header() + mmtest::Light("Lamp", 1, 2, 3)), 1);
    EXPECT_NE(log_.Find("Light Pos: 1.000000 3.000000 2.000000"), -1);
    const MMLight& lamp = model_.lights[0];
    EXPECT_EQ(lamp.position.y, 3.0f);
    EXPECT_EQ(lamp.position.z, 2.0f);
    // The direction (0, 0, -1) is moved as a point: (1, 2, 2), exchanged.
    EXPECT_EQ(lamp.direction.x, 1.0f);
    EXPECT_EQ(lamp.direction.y, 2.0f);
    EXPECT_EQ(lamp.direction.z, 2.0f);
}

TEST_F(BuildTest, SkinsBindSlotsUpToTheFirstEmptyOne) {
    // Slots 0 and 2 only: a texture line with an empty name fills no slot.
    std::string gapped = Material{}.Text();
    gapped.replace(
        gapped.find("\tTextures: 1\n\t\"Map\" \"stone.tga\"\n"), 32,
        "\tTextures: 3\n\t\"Map\" \"a.tga\"\n\t\"Bump\" \"..\"\n\t\"Gloss\" \"c.tga\"\n");
    Material full;
    full.name = "Full";
    full.textures = {"a.tga", "b.tga", "c.tga", "d.tga"};
    ASSERT_EQ(Load(Header() + gapped + full.Text()), 1);

    ASSERT_EQ(model_.textureCount, 6u);
    EXPECT_EQ(model_.textureList[1], "textures\\c.tga");
    EXPECT_EQ(model_.textureList[2], "textures\\a.tga");
    const ModelSkin& gappedSkin = model_.skins[0];
    EXPECT_EQ(gappedSkin.texture[0], 0u);
    EXPECT_EQ(gappedSkin.texture[1], kNoSkinTexture);
    EXPECT_EQ(gappedSkin.texture[2], 1u);
    // Equal paths are separate entries; a skin finds the first.
    const ModelSkin& fullSkin = model_.skins[1];
    EXPECT_EQ(fullSkin.material, 1u);
    EXPECT_EQ(fullSkin.texture[0], 0u);
    EXPECT_EQ(fullSkin.texture[1], 3u);
    EXPECT_EQ(fullSkin.texture[2], 1u);
    EXPECT_EQ(fullSkin.texture[3], kNoSkinTexture);
    EXPECT_NE(log_.Find("Material: '1' : 'Full'  --  Texture Name: 'textures\\a.tga'"), -1);
    EXPECT_NE(log_.Find("--- material 1, glossmap texture 'textures\\c.tga'"), -1);

    ASSERT_EQ(model_.Init(&device_), S_OK);
    const auto textures = device_.CallsNamed("AddSkinTexture");
    ASSERT_EQ(textures.size(), 4u);
    EXPECT_EQ(textures[0].skin, 1u);
    EXPECT_EQ(textures[0].name, "textures\\a.tga");
    EXPECT_EQ(textures[1].skin, 2u);
    EXPECT_EQ(textures[3].name, "textures\\c.tga");
    EXPECT_EQ(textures[3].ints, std::vector<int>{0});
    EXPECT_EQ(textures[3].floats, std::vector<float>{1.0f});
}

TEST_F(BuildTest, InitRegistersEveryMaterialInOrder) {
    Material second;
    second.name = "Second";
    second.ambient = {0.1f, 0.2f, 0.3f};
    ASSERT_EQ(Load(Header() + Material{}.Text() + second.Text() + Mesh{}.Text()), 1);
    log_.lines.clear();
    ASSERT_EQ(model_.Init(&device_), S_OK);
    std::vector<std::string> calls;
    for (const RecordedCall& call : device_.Calls()) {
        if (call.call != "GetSkinManager" && call.call != "GetBufferManager") {
            calls.push_back(call.call);
        }
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"AddSkin", "AddSkinTexture", "CreateStaticBuffer",
                                               "AddSkin", "AddSkinTexture", "CreateStaticBuffer"}));
    const RecordedCall skin = device_.CallsNamed("AddSkin")[1];
    EXPECT_EQ(skin.ambient.g, 0.2f);
    EXPECT_EQ(skin.ambient.a, 0.0f);
    EXPECT_EQ(skin.power, 1.0f);
    // A material whose faces are all elsewhere gets a buffer with no indices.
    EXPECT_EQ(device_.CallsNamed("CreateStaticBuffer")[1].indexCount, 0u);
    EXPECT_EQ(
        log_.Texts(),
        (std::vector<std::string>{
            "LoadMM::Init()  Allocate memmory", "LoadMM::Init()  mat '0' with '3' of '3' indices",
            "LoadMM::Init()  Add Material '0'", "LoadMM::Init()  Add Texture 'textures\\stone.tga'",
            "LoadMM::Init()  Create Static Buffer '0'", "mat '0' :: skin ID '1'",
            "mat '0' :: num indices '3'", "mat '0' :: num faces '1'\n",
            "LoadMM::Init()  mat '1' with '0' of '3' indices", "LoadMM::Init()  Add Material '1'",
            "LoadMM::Init()  Add Texture 'textures\\stone.tga'",
            "LoadMM::Init()  Create Static Buffer '1'", "mat '1' :: skin ID '2'",
            "mat '1' :: num indices '0'", "mat '1' :: num faces '0'\n"}));
}

TEST_F(BuildTest, FailedStaticBufferStopsRegistration) {
    Material second;
    second.name = "Second";
    Material third;
    third.name = "Third";
    ASSERT_EQ(Load(Header() + Material{}.Text() + second.Text() + third.Text() + Mesh{}.Text()), 1);
    device_.FailFrom("CreateStaticBuffer", 2);
    EXPECT_EQ(model_.Init(&device_), E_FAIL);
    EXPECT_EQ(device_.CallsNamed("AddSkin").size(), 2u);
    EXPECT_EQ(model_.bufferIds[0], 1u);
    EXPECT_EQ(model_.bufferIds[1], 0u);
    ASSERT_TRUE(log_.lines.back().error);
    EXPECT_EQ(log_.lines.back().text,
              "LoadMM::Init()  Failed to Create Static Buffers '" + std::to_string(E_FAIL) + "'");
}

TEST_F(BuildTest, InitRefusesAModelOf128Materials) {
    for (const int count : {127, 128}) {
        std::string text = Header();
        for (int m = 0; m < count; ++m) {
            Material material;
            material.name = "M" + std::to_string(m);
            material.textures.clear();
            text += material.Text();
        }
        ASSERT_EQ(Load(text), 1);
        CRecordingRenderDevice device;
        std::vector<RecordedBox> boxes;
        win32::SetMessageBoxHook(RecordBoxes, &boxes);
        const HRESULT result = model_.Init(&device);
        win32::SetMessageBoxHook(nullptr, nullptr);
        if (count == 127) {
            EXPECT_EQ(result, S_OK);
            EXPECT_TRUE(boxes.empty());
            EXPECT_EQ(device.CallsNamed("CreateStaticBuffer").size(), 127u);
        } else {
            EXPECT_EQ(result, E_FAIL);
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, L"LoadMM::Init()  Too much materials to load!");
            EXPECT_EQ(boxes[0].caption, L"error");
            EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONERROR | MB_OK));
            EXPECT_TRUE(device.Calls().empty());
        }
    }
}

TEST_F(BuildTest, ModelsBeyond65536VerticesAreRefused) {
    auto meshOf = [](const char* name, int vertices) {
        std::string text = std::string("Mesh{\n\t\"") + name +
                           "\"\n\t\"\"\n\tx\n\t1 0 0\n\t0 1 0\n\t0 0 1\n\t0 0 0\n\t\"Stone\"\n" +
                           "\tNumTexChannels: 1\n\tTriangles: 1\n\t0 1 2 0\n\tVertices: " +
                           std::to_string(vertices) + "\n";
        for (int i = 0; i < vertices; ++i) {
            text += "\t0 1 2 3 0 0 1 1 1 1 0 0\n";
        }
        return text + "}\n";
    };
    ASSERT_EQ(Load(Header() + Material{}.Text() + meshOf("A", 40000) + meshOf("B", 25536)), 1);
    EXPECT_EQ(model_.vertexCount, 65536);
    EXPECT_EQ(model_.faceList[1].index[0], 40000);

    log_.lines.clear();
    EXPECT_EQ(Load(Header() + Material{}.Text() + meshOf("A", 40000) + meshOf("B", 25537)), 0);
    EXPECT_EQ(log_.Starting("Motion Error: the model has 65537 vertices").size(), 1u);
    EXPECT_EQ(log_.Find("LoadMM::LoadMesh()  '" + path_ + "' loaded OK\n\n"), -1);
    EXPECT_EQ(model_.materialCount, 0u);
    EXPECT_EQ(model_.Init(&device_), S_OK);
    EXPECT_TRUE(device_.CallsNamed("CreateStaticBuffer").empty());
}

}  // namespace
