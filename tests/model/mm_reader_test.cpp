// The Motion Model reader: the worked example with every log line in order,
// header checks, block dispatch, the format's exact reads and the files that
// break its limits.
#include "model/LoadMM.h"
#include "tests/model/ModelTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using mmtest::Header;
using mmtest::LogCapture;
using mmtest::Material;
using mmtest::Mesh;
using mmtest::WorkedExample;

class ReaderTest : public ::testing::Test {
protected:
    int Load(const std::string& text) {
        path_ = files_.Write(text);
        return model_.LoadMesh(path_.c_str());
    }
    const MMMesh& MeshAt(int i) const { return model_.scene->meshes[i]; }
    const MMMaterial& MaterialAt(int i) const { return model_.scene->materials[i]; }

    mmtest::TempFiles files_;
    LogCapture log_;
    LoadMM model_;
    std::string path_;
};

TEST_F(ReaderTest, WorkedExampleFillsTheRecords) {
    ASSERT_EQ(Load(WorkedExample()), 1);
    ASSERT_EQ(model_.scene->materialCount, 1);
    const MMMaterial& stone = MaterialAt(0);
    EXPECT_STREQ(stone.name, "Stone");
    EXPECT_EQ(stone.diffuse.r, 0.8f);
    EXPECT_EQ(stone.diffuse.g, 0.6f);
    EXPECT_EQ(stone.diffuse.b, 0.4f);
    EXPECT_EQ(stone.diffuse.a, 0.0f);
    EXPECT_EQ(stone.ambient.r, 0.2f);
    EXPECT_EQ(stone.specular.b, 1.0f);
    EXPECT_EQ(stone.glossiness, 0.1f);
    EXPECT_EQ(stone.opacity, 1.0f);
    EXPECT_EQ(stone.textures[0], "textures\\stone.tga");
    EXPECT_TRUE(stone.textures[1].empty());

    ASSERT_EQ(model_.scene->meshCount, 1);
    const MMMesh& tri = MeshAt(0);
    EXPECT_STREQ(tri.name, "Tri");
    EXPECT_STREQ(tri.parent, "");
    EXPECT_STREQ(tri.materialName, "Stone");
    EXPECT_EQ(tri.materialIndex, 0);
    EXPECT_EQ(tri.texChannels, 1);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ((&tri.transform._11)[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
    }
    ASSERT_EQ(tri.faceCount, 1);
    const MMFace& face = tri.faces[0];
    EXPECT_EQ(face.index[0], 0);
    EXPECT_EQ(face.index[1], 1);
    EXPECT_EQ(face.index[2], 2);
    EXPECT_EQ(face.channel, 0);
    const float corners[3][2] = {{0, 0}, {1, 0}, {0, 1}};
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(face.corner[c][0], corners[c][0]);
        EXPECT_EQ(face.corner[c][1], corners[c][1]);
    }
    ASSERT_EQ(tri.vertexCount, 3);
    EXPECT_EQ(tri.vertices[1].position.x, 1.0f);
    EXPECT_EQ(tri.vertices[2].normal.z, 1.0f);
    EXPECT_EQ(tri.vertices[2].texCoords[1], 1.0f);
}

TEST_F(ReaderTest, WorkedExampleLogsEveryLineInOrder) {
    ASSERT_EQ(Load(WorkedExample()), 1);
    const std::vector<std::string> expected = {
        " Number of Objects: '1'",
        " Number of Helpers: '0'",
        " Number of Materials: '1'",
        " Number of MultiMaterials: '0'",
        " Number of Lights: '0'",
        " Total of Materials: '1'",
        "Material{",
        "\tName: Stone\n",
        "\tDoubleSided: 0\n",
        "\tOpacity: 1.000000\n",
        "\tGlossiness: 0.100000\n",
        "\tSpecularLevel: 0.000000\n",
        "\tAmbient: 0.200000 0.200000 0.200000\n",
        "\tEmissive: 0.000000 0.000000 0.000000\n",
        "\tDiffuse: 0.800000 0.600000 0.400000\n",
        "\tSpecular: 1.000000 1.000000 1.000000\n",
        "\tTextures: 1\n",
        "\ttexture loaded [0] 'textures\\stone.tga'\n",
        "MATERIAL '0' HAS NAME: 'Stone'\n",
        "}\n\n",
        "Mesh{",
        "\tName: 'Tri'",
        "\tParent: ''",
        "\tMaterial Name: 'Stone'",
        "\tNumTexChannels: '1'",
        "\tNum Faces: '1'",
        "\tNum Vertices: '3'",
        "}\n\n",
        "COOL! CREATE STRUCT WAS ABLE TO WORK!\n\n",
        "Num Objects: 1",
        "Count object vertex/index data!",
        "Do Lights!",
        "Alloc memory!",
        "Num of Objects '1' - Num of Vertices '3' - Indices '3' - Faces '1'",
        "Num of Skins '1'",
        "MAT [1] TOTAL NUM OF TEXTURES [1]",
        "MAT[0] TEXTURE [textures\\stone.tga]",
        "Load Material: '0'",
        "--- material 0, diffuse texture 'textures\\stone.tga'",
        "--- material 0, no bump texture used",
        "Material: '0' : 'Stone'  --  Texture Name: ''",
        "Object [0] 'Tri', Material ID '0'\n\n",
        "LoadMM::LoadMesh()  '" + path_ + "' loaded OK\n\n",
    };
    EXPECT_EQ(log_.Texts(), expected);
    for (const auto& line : log_.lines) {
        EXPECT_FALSE(line.error) << line.text;
    }
}

TEST_F(ReaderTest, CrLfLineEndsReadTheSame) {
    std::string text = WorkedExample();
    std::string crlf;
    for (const char c : text) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    ASSERT_EQ(Load(crlf), 1);
    EXPECT_STREQ(MeshAt(0).name, "Tri");
    EXPECT_EQ(MeshAt(0).materialIndex, 0);
    EXPECT_EQ(MeshAt(0).vertexCount, 3);
    EXPECT_EQ(MaterialAt(0).textures[0], "textures\\stone.tga");
}

TEST_F(ReaderTest, HeaderChecksRefuseTheFile) {
    struct Case {
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {"", "signature"},
        {"MotionModelAscii\nx\n\tVersion: 107\na\nb\nc\n", "signature"},
        {"MotionModelASCII\nx\n\tVersion: 106\na\nb\nc\n", "version"},
        {"MotionModelASCII\nx\n\tVersion 107\na\nb\nc\n", "version"},
        {"MotionModelASCII\nx\n", "version"},
    };
    for (const Case& c : cases) {
        log_.lines.clear();
        EXPECT_EQ(Load(c.text + Mesh{}.Text()), 0) << c.text;
        const std::string expected =
            "Motion Error: file \"" + path_ + "\" has an invalid Motion Model " + c.error + ".\n";
        EXPECT_EQ(log_.lines.back().text, expected);
        // The arrays were allocated before the header was read, and stay unread.
        EXPECT_EQ(model_.scene->meshCount, 1);
        EXPECT_STREQ(MeshAt(0).name, "");
        EXPECT_EQ(model_.vertexCount, 0);
    }
}

TEST_F(ReaderTest, MissingFileLoadsNothingAndInitRegistersNothing) {
    EXPECT_EQ(model_.LoadMesh("no\\such\\model.mm"), 0);
    EXPECT_EQ(log_.Texts(),
              std::vector<std::string>{"Motion Error: file \"no\\such\\model.mm\" not found.\n"});
    ASSERT_TRUE(model_.scene);
    EXPECT_EQ(model_.scene->meshCount, 0);
    EXPECT_EQ(model_.Init(nullptr), S_OK);
}

TEST_F(ReaderTest, HeaderOnlyLoadsAnEmptyModel) {
    EXPECT_EQ(Load(Header()), 1);
    EXPECT_EQ(model_.scene->meshCount, 0);
    EXPECT_EQ(model_.materialCount, 0u);
    EXPECT_NE(log_.Find("Num of Objects '0' - Num of Vertices '0' - Indices '0' - Faces '0'"), -1);
}

TEST_F(ReaderTest, UnrecognisedBlocksAreSkippedWhole) {
    const std::string camera = "Camera{\n\t\"Cam\"\nMesh{\n\tFov: 45\n}\n";
    ASSERT_EQ(Load(Header() + Material{}.Text() + camera + Mesh{}.Text()), 1);
    // The "Mesh{" inside the camera is counted but never read: its mesh keeps
    // its initial state and adds nothing.
    ASSERT_EQ(model_.scene->meshCount, 2);
    EXPECT_STREQ(MeshAt(0).name, "Tri");
    EXPECT_STREQ(MeshAt(1).name, "");
    EXPECT_EQ(MeshAt(1).vertexCount, 0);
    EXPECT_EQ(model_.vertexCount, 3);
    EXPECT_EQ(log_.Find("Camera{"), -1);
}

TEST_F(ReaderTest, EmptyLinesBetweenBlocksDoNotSwallowTheNextBlock) {
    ASSERT_EQ(Load(Header() + "\n" + Material{}.Text() + "\n\r\n\n" + Mesh{}.Text() + "\n"), 1);
    EXPECT_STREQ(MaterialAt(0).name, "Stone");
    EXPECT_STREQ(MeshAt(0).name, "Tri");
    EXPECT_EQ(model_.vertexCount, 3);
}

TEST_F(ReaderTest, MultiMaterialTakesTheSlotBetweenMaterials) {
    Material first;
    first.name = "First";
    Material last;
    last.name = "Last";
    ASSERT_EQ(Load(Header() + first.Text() +
                   mmtest::MultiMaterial("Multi", {"First", "Last", "Gone"}) + last.Text()),
              1);
    EXPECT_NE(log_.Find(" Total of Materials: '3'"), -1);
    ASSERT_EQ(model_.scene->materialCount, 3);
    EXPECT_STREQ(MaterialAt(0).name, "First");
    EXPECT_STREQ(MaterialAt(1).name, "Multi");
    EXPECT_STREQ(MaterialAt(2).name, "Last");
    EXPECT_EQ(MaterialAt(1).diffuse.r, 0.0f);
    EXPECT_TRUE(MaterialAt(1).textures[0].empty());
    ASSERT_EQ(model_.multiMaterialCount, 1);
    const MMMultiMaterial& multi = model_.multiMaterials[0];
    ASSERT_EQ(multi.subMaterialCount, 3);
    EXPECT_EQ(multi.subMaterials[2], "Gone");
    const int keyword = log_.Find("MultiMaterial{");
    ASSERT_NE(keyword, -1);
    const std::vector<std::string> texts = log_.Texts();
    const std::vector<std::string> block(texts.begin() + keyword, texts.begin() + keyword + 8);
    EXPECT_EQ(block,
              (std::vector<std::string>{
                  "MultiMaterial{", "\tName:  'Multi'\n", "\tNumSubMaterials: 3\n",
                  "\tSubMaterial Name:  'First'\n", "\tSubMaterial Name:  'Last'\n",
                  "\tSubMaterial Name:  'Gone'\n", "multimtl '0' has name: 'Multi'", "}\n\n"}));
}

TEST_F(ReaderTest, TwoChannelsTakeTheSelectedPair) {
    Mesh mesh;
    mesh.channels = 2;
    mesh.faces = {{0, 1, 2, -1}, {0, 1, 2, 0}, {0, 1, 2, 1}};
    for (int i = 0; i < 3; ++i) {
        const float k = static_cast<float>(i);
        mesh.vertices[i].uv = {k, 10 + k, 20 + k, 30 + k};
    }
    ASSERT_EQ(Load(Header() + mesh.Text()), 1);
    const MMMesh& read = MeshAt(0);
    ASSERT_EQ(read.faceCount, 3);
    for (int c = 0; c < 3; ++c) {
        const float k = static_cast<float>(c);
        EXPECT_EQ(read.faces[0].corner[c][0], 0.0f);
        EXPECT_EQ(read.faces[0].corner[c][1], 0.0f);
        EXPECT_EQ(read.faces[1].corner[c][0], k);
        EXPECT_EQ(read.faces[1].corner[c][1], 10 + k);
        EXPECT_EQ(read.faces[2].corner[c][0], 20 + k);
        EXPECT_EQ(read.faces[2].corner[c][1], 30 + k);
    }
    EXPECT_EQ(read.faces[0].channel, -1);
}

TEST_F(ReaderTest, UvPairsMayStandOnTheirOwnLine) {
    std::string text = WorkedExample();
    const std::string vertex = "\t1 1 0 0 0 0 1 1 1 1 1 0\n";
    text.replace(text.find(vertex), vertex.size(), "\t1 1 0 0 0 0 1 1 1 1\n\t\t1 0\n");
    ASSERT_EQ(Load(text), 1);
    EXPECT_EQ(MeshAt(0).vertices[1].texCoords[0], 1.0f);
    EXPECT_EQ(MeshAt(0).faces[0].corner[1][0], 1.0f);
}

TEST_F(ReaderTest, MirroringTransformReversesTheWinding) {
    Mesh mirrored;
    mirrored.transform = {-1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    Mesh flat;
    flat.name = "Flat";
    flat.transform = {1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
    ASSERT_EQ(Load(Header() + mirrored.Text() + flat.Text()), 1);
    const MMFace& reversed = MeshAt(0).faces[0];
    EXPECT_EQ(reversed.index[0], 2);
    EXPECT_EQ(reversed.index[1], 1);
    EXPECT_EQ(reversed.index[2], 0);
    // Corners follow the stored order.
    EXPECT_EQ(reversed.corner[0][1], 1.0f);
    EXPECT_EQ(reversed.corner[2][0], 0.0f);
    const MMFace& kept = MeshAt(1).faces[0];
    EXPECT_EQ(kept.index[0], 0);
    EXPECT_EQ(kept.index[2], 2);
}

TEST_F(ReaderTest, LightLogsOnlyItsNameLine) {
    ASSERT_EQ(Load(Header() + mmtest::Helper("Pivot", "", 0, 0, 0) +
                   mmtest::Light("Lamp", 1, 2, 3) + Mesh{}.Text()),
              1);
    const int helperEnd = log_.Find("Helper Parent name: ''") + 1;
    EXPECT_EQ(log_.lines[helperEnd].text, "}\n\n");
    EXPECT_EQ(log_.lines[helperEnd + 1].text, "light '0' has name: 'Lamp'");
    EXPECT_EQ(log_.lines[helperEnd + 2].text, "Mesh{");
    ASSERT_EQ(model_.lightCount, 1);
    const MMLight& lamp = model_.lights[0];
    EXPECT_EQ(lamp.colour[1], 0.5f);
    EXPECT_EQ(lamp.intensity, 2.0f);
    EXPECT_EQ(lamp.transform._43, 3.0f);
    EXPECT_STREQ(MeshAt(0).name, "Tri");
}

TEST_F(ReaderTest, ExtraTextAfterAFieldDerailsTheBlock) {
    std::string text = WorkedExample();
    const std::string opacity = "\tOpacity: 1.0\n";
    text.replace(text.find(opacity), opacity.size(), "\tOpacity: 1.0 percent\n");
    Load(text);
    EXPECT_EQ(MaterialAt(0).opacity, 1.0f);
    EXPECT_EQ(MaterialAt(0).glossiness, 0.0f);
    EXPECT_EQ(MaterialAt(0).diffuse.r, 0.0f);
}

TEST_F(ReaderTest, OverlongNamesAndTooManyTexturesAreClipped) {
    Material material;
    material.name = std::string(200, 'n');
    material.textures = {"a.tga", "b.tga", "c.tga", "d.tga", "e.tga", "f.tga"};
    ASSERT_EQ(Load(Header() + material.Text() + Mesh{}.Text()), 1);
    EXPECT_EQ(std::string(MaterialAt(0).name), std::string(127, 'n'));
    EXPECT_EQ(MaterialAt(0).textures[3], "textures\\d.tga");
    EXPECT_EQ(log_.Starting("Motion Warning: material name").size(), 1u);
    EXPECT_EQ(
        log_.Starting("Motion Warning: material '" + std::string(127, 'n') + "' gives 6 textures")
            .size(),
        1u);
    // Every texture line was consumed: the mesh after it loads.
    EXPECT_STREQ(MeshAt(0).name, "Tri");
}

TEST_F(ReaderTest, TextureNamesLeavingTheTextureFolderAreRefused) {
    Material material;
    material.textures = {"..\\..\\secret.tga", "/etc/passwd", "sub\\ok.tga", "C:\\x.tga"};
    Material more;
    more.name = "More";
    more.textures = {"sub/../../up.tga", "\\\\server\\share\\x.tga", "a\\..", "..a\\b..\\c.tga"};
    ASSERT_EQ(Load(Header() + material.Text() + more.Text()), 1);
    EXPECT_TRUE(MaterialAt(0).textures[0].empty());
    EXPECT_TRUE(MaterialAt(0).textures[1].empty());
    EXPECT_EQ(MaterialAt(0).textures[2], "textures\\sub\\ok.tga");
    EXPECT_TRUE(MaterialAt(0).textures[3].empty());
    EXPECT_TRUE(MaterialAt(1).textures[0].empty());
    EXPECT_TRUE(MaterialAt(1).textures[1].empty());
    EXPECT_TRUE(MaterialAt(1).textures[2].empty());
    // Dots inside a name climb nowhere.
    EXPECT_EQ(MaterialAt(1).textures[3], "textures\\..a\\b..\\c.tga");
    EXPECT_EQ(log_.Starting("Motion Warning: texture [").size(), 6u);
}

// A file that ends inside a list keeps what it holds: the vertices that are
// not there are not made up as zeros, and the faces that name them go.
TEST_F(ReaderTest, FileCutShortInsideAListKeepsWhatWasRead) {
    Mesh mesh;
    mesh.faces = {{0, 1, 2, 0}, {0, 2, 3, 0}};
    mesh.vertices = {
        {{0.123456789f, 0, 0}, {0, 0, 1}, {1, 1, 1}, {0.123456789f, 0.987654321f}},
        {{1.23456789f, 0, 0}, {0, 0, 1}, {1, 1, 1}, {0.123456789f, 0.987654321f}},
        {{0, 1.23456789f, 0}, {0, 0, 1}, {1, 1, 1}, {0.123456789f, 0.987654321f}},
        {{1.23456789f, 1.23456789f, 0}, {0, 0, 1}, {1, 1, 1}, {0.123456789f, 0.987654321f}},
    };
    const std::string text = Header() + mesh.Text();
    ASSERT_EQ(Load(text.substr(0, text.find("\t3 1.23") + 8)), 1);
    EXPECT_EQ(MeshAt(0).vertexCount, 3);
    EXPECT_EQ(MeshAt(0).faceCount, 1);
    EXPECT_EQ(log_.Starting("Motion Warning: the file ends after 3 of the 4 vertices of mesh 'Tri'")
                  .size(),
              1u);

    mesh.faces.assign(40, {0, 1, 2, 0});
    const std::string faces = Header() + mesh.Text();
    ASSERT_EQ(Load(faces.substr(0, faces.find("\tVertices") - 4)), 1);
    EXPECT_EQ(MeshAt(0).faceCount, 0);
    EXPECT_EQ(log_.Starting("Motion Warning: the file ends after 39 of the 40 faces of mesh 'Tri'")
                  .size(),
              1u);
}

TEST_F(ReaderTest, TextureLineWithOneQuotedTextGivesTheBareFolder) {
    std::string text = WorkedExample();
    text.replace(text.find("\"Map\" \"stone.tga\""), 17, "\"Map only\"");
    ASSERT_EQ(Load(text), 1);
    EXPECT_EQ(MaterialAt(0).textures[0], "textures\\");
}

TEST_F(ReaderTest, BadFaceIndicesAndChannelsAreDroppedWithWarnings) {
    Mesh mesh;
    mesh.channels = 2;
    mesh.faces = {{0, 1, 2, 1}, {0, 1, 3, 0}, {-1, 1, 2, 0}, {0, 1, 2, 7}};
    for (auto& v : mesh.vertices) {
        v.uv = {0.5f, 0.5f, 0.25f, 0.25f};
    }
    ASSERT_EQ(Load(Header() + mesh.Text()), 1);
    const MMMesh& read = MeshAt(0);
    ASSERT_EQ(read.faceCount, 2);
    EXPECT_EQ(read.faces[0].channel, 1);
    EXPECT_EQ(read.faces[1].channel, -1);
    EXPECT_EQ(read.faces[1].corner[0][0], 0.0f);
    EXPECT_EQ(log_.Starting("Motion Warning: mesh 'Tri' has 2 faces with vertex indices").size(),
              1u);
    EXPECT_EQ(log_.Starting("Motion Warning: mesh 'Tri' has 1 faces selecting").size(), 1u);
    EXPECT_EQ(model_.faceCount, 2);
}

TEST_F(ReaderTest, MeshWithoutChannelsEndsWhereTheFileSays) {
    for (const int channels : {0, -3}) {
        Mesh mesh;
        mesh.channels = channels;
        for (auto& v : mesh.vertices) {
            v.uv.clear();
        }
        log_.lines.clear();
        ASSERT_EQ(Load(Header() + mesh.Text() + Material{}.Text()), 1);
        EXPECT_EQ(MeshAt(0).vertexCount, 3);
        EXPECT_EQ(MeshAt(0).faces[0].channel, -1);
        EXPECT_STREQ(MaterialAt(0).name, "Stone") << channels;
        EXPECT_EQ(log_.Starting("Motion Warning: mesh 'Tri' has " + std::to_string(channels) +
                                " texture channels")
                      .size(),
                  1u);
    }
}

TEST_F(ReaderTest, CountsBeyondTheFileAreBounded) {
    std::string text = WorkedExample();
    text.replace(text.find("\tTriangles: 1\n"), 14, "\tTriangles: 2000000000\n");
    Load(text);
    const std::vector<std::string> warnings = log_.Starting("Motion Warning: mesh 'Tri' gives");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("2000000000 faces, more than the rest of the file holds"),
              std::string::npos);
    EXPECT_LT(MeshAt(0).faceCount, 1000);

    log_.lines.clear();
    std::string negative = WorkedExample();
    negative.replace(negative.find("\tVertices: 3\n"), 13, "\tVertices: -5\n");
    Load(negative);
    EXPECT_EQ(MeshAt(0).vertexCount, 0);
    EXPECT_EQ(MeshAt(0).faceCount, 0);  // its indices name no vertex
    EXPECT_EQ(log_.Starting("Motion Warning: mesh 'Tri' gives -5 vertices; read as 0.").size(), 1u);

    log_.lines.clear();
    Load(Header() + "MultiMaterial{\n\t\"Multi\"\n\tNumSubMaterials: 2147483647\n\t\"a\"\n}\n");
    ASSERT_EQ(model_.multiMaterialCount, 1);
    EXPECT_LT(model_.multiMaterials[0].subMaterialCount, 100);
    EXPECT_EQ(model_.multiMaterials[0].subMaterials[0], "a");
}

TEST_F(ReaderTest, BlockTheFirstPassDidNotCountFailsTheLoad) {
    // A closing line read stops after 254 characters, so the rest of that
    // line reaches the top level whole; the first pass split it elsewhere.
    std::string text = Header() + Mesh{}.Text();
    const std::string body = Mesh{}.Text().substr(std::string("Mesh{\n").size());
    text.replace(text.size() - 2, 2, std::string(254, 'x') + "Mesh{\n" + body);
    EXPECT_EQ(Load(text), 0);
    EXPECT_EQ(log_.lines.back().text, "Motion Error: loading block \"Mesh{\" failed.\n");
    EXPECT_EQ(log_.lines[log_.lines.size() - 2].text, "}\n\n");
    EXPECT_EQ(log_.Find("COOL! CREATE STRUCT WAS ABLE TO WORK!\n\n"), -1);
}

TEST_F(ReaderTest, LongLinesAreSplitSafely) {
    std::string text = WorkedExample();
    text.replace(text.find("\t\"Tri\""), 6, "\t\"" + std::string(400, 'T') + "\"");
    text += std::string(1000, '{') + "\n";
    EXPECT_EQ(Load(text), 1);
    EXPECT_EQ(std::string(MeshAt(0).name), std::string(252, 'T'));
}

}  // namespace
