// The recording backend: what it logs for the calls a particle system makes,
// the checks it shares with the OpenGL backend, and effect parameters.
#include <d3d9_record.h>
#include <d3d9_standin.h>
#include <d3dx9.h>

#include <gtest/gtest.h>

#include "d3d9_test_device.h"
#include "device/VertexFormats.h"
#include "d3d9_test_files.h"

#include <cstring>
#include <iterator>

namespace {

using d3d9::RecordedCall;

constexpr const char* kParticleEffect = R"(// A sprite per particle.
uniform mat4 World;
uniform mat4 View;
uniform mat4 Proj;
uniform float P_size = 1.0;
uniform vec4 K_diffuse = vec4(1.0, 0.5, 0.25, 1.0);
uniform float fA = 0.75;
uniform sampler2D g_BaseTexture;

vertex SpriteVS {
    layout(location = ATTR_POSITION) in vec3 position;
    void main() { gl_Position = vec4(position * P_size, 1.0) * World * View * Proj; }
}

fragment SpriteFS {
    out vec4 colour;
    void main() { colour = K_diffuse * fA; }
}

technique ParticleTechnique {
    pass P0 {
        AlphaBlendEnable = true;
        SrcBlend = SrcAlpha;
        DestBlend = One;
        VertexShader = SpriteVS;
        PixelShader = SpriteFS;
    }
    pass P1 { VertexShader = SpriteVS; PixelShader = SpriteFS; }
}
)";

struct Vertex {
    float x, y, z;
    DWORD colour;
    float u, v;
};

class RecordingDevice : public testing::Test {
protected:
    void SetUp() override {
        device_ = d3d9::CreateRecordingDevice(nullptr);
        ASSERT_NE(device_, nullptr);
        effectPath_ = d3d9test::WriteTextFile("p.fx", kParticleEffect);
    }

    void TearDown() override { EXPECT_EQ(device_->Release(), 0u); }

    const std::vector<RecordedCall>& Calls() const { return d3d9::RecordedCalls(device_); }

    // The calls named call, in order.
    std::vector<RecordedCall> Only(const std::string& call) const {
        std::vector<RecordedCall> found;
        for (const RecordedCall& entry : Calls()) {
            if (entry.call == call) {
                found.push_back(entry);
            }
        }
        return found;
    }

    ID3DXEffect* LoadEffect(DWORD flags = 0) {
        ID3DXEffect* effect = nullptr;
        ID3DXBuffer* errors = nullptr;
        EXPECT_EQ(D3DXCreateEffectFromFileA(device_, effectPath_.c_str(), nullptr, nullptr, flags,
                                            nullptr, &effect, &errors),
                  D3D_OK);
        EXPECT_EQ(errors, nullptr);
        return effect;
    }

    IDirect3DDevice9* device_ = nullptr;
    std::string effectPath_;
};

TEST_F(RecordingDevice, LogsAParticleDrawWithNamesValuesAndBytes) {
    IDirect3DVertexBuffer9* quad = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(96, 0, 0x142, D3DPOOL_MANAGED, &quad, nullptr), D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(quad->Lock(0, 96, &data, 0), D3D_OK);
    const Vertex vertices[4] = {{-0.5f, -0.5f, 0, 0xFFFFFFFF, 0, 1},
                                {-0.5f, 0.5f, 0, 0xFFFFFFFF, 0, 0},
                                {0.5f, -0.5f, 0, 0xFFFFFFFF, 1, 1},
                                {0.5f, 0.5f, 0, 0xFFFFFFFF, 1, 0}};
    std::memcpy(data, vertices, sizeof vertices);
    ASSERT_EQ(quad->Unlock(), D3D_OK);

    IDirect3DTexture9* flare = nullptr;
    const std::string flarePath =
        d3d9test::WriteImage("flare.tga", 2, 2, {0xFFFFFF80, 0, 0, 0xFFFFFFFF});
    ASSERT_EQ(D3DXCreateTextureFromFileA(device_, flarePath.c_str(), &flare), D3D_OK);

    ID3DXEffect* effect = LoadEffect();
    ASSERT_NE(effect, nullptr);
    const D3DXHANDLE technique = effect->GetTechniqueByName("ParticleTechnique");
    const D3DXHANDLE world = effect->GetParameterByName(nullptr, "World");
    const D3DXHANDLE size = effect->GetParameterByName(nullptr, "P_size");
    ASSERT_NE(technique, nullptr);
    ASSERT_NE(world, nullptr);
    ASSERT_NE(size, nullptr);
    // Handles are not strings: they never point at readable names.
    EXPECT_LT(reinterpret_cast<std::uintptr_t>(world), 0x10000u);
    d3d9::ClearRecordedCalls(device_);

    EXPECT_EQ(effect->SetTexture("g_BaseTexture", flare), D3D_OK);
    EXPECT_EQ(device_->SetFVF(0x142), D3D_OK);
    EXPECT_EQ(device_->SetStreamSource(0, quad, 0, 24), D3D_OK);
    EXPECT_EQ(effect->SetTechnique(technique), D3D_OK);
    UINT passes = 0;
    EXPECT_EQ(effect->Begin(&passes, 0), D3D_OK);
    EXPECT_EQ(passes, 2u);
    D3DXMATRIX translation;
    D3DXMatrixTranslation(&translation, 1, 2, 3);
    EXPECT_EQ(effect->SetMatrix(world, &translation), D3D_OK);
    EXPECT_EQ(effect->SetFloat(size, 4.5f), D3D_OK);
    const D3DXVECTOR4 diffuse{0.1f, 0.2f, 0.3f, 1.0f};
    EXPECT_EQ(effect->SetVector("K_diffuse", &diffuse), D3D_OK);
    EXPECT_EQ(effect->BeginPass(1), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    EXPECT_EQ(effect->EndPass(), D3D_OK);
    EXPECT_EQ(effect->End(), D3D_OK);

    std::vector<std::string> sequence;
    for (const RecordedCall& entry : Calls()) {
        sequence.push_back(entry.call + (entry.name.empty() ? "" : " " + entry.name));
    }
    // The effect takes a reference to the texture it is given.
    EXPECT_EQ(sequence, (std::vector<std::string>{
                            "AddRef", "SetTexture g_BaseTexture", "SetFVF", "SetStreamSource",
                            "SetTechnique ParticleTechnique", "Begin", "SetMatrix World",
                            "SetFloat P_size", "SetVector K_diffuse", "BeginPass",
                            "DrawPrimitive TRIANGLESTRIP", "EndPass", "End"}));
    ASSERT_EQ(Calls().size(), 13u);
    EXPECT_EQ(Calls()[0].texture, flarePath);
    EXPECT_EQ(Calls()[0].args, (std::vector<std::int64_t>{2}));
    const std::vector<RecordedCall> calls(Calls().begin() + 1, Calls().end());
    EXPECT_EQ(calls[0].fx, "p.fx");
    EXPECT_EQ(calls[0].effect, 1);
    EXPECT_EQ(calls[0].texture, flarePath);
    EXPECT_EQ(calls[1].args, (std::vector<std::int64_t>{0x142}));
    EXPECT_EQ(calls[2].args, (std::vector<std::int64_t>{0, 1, 0, 24}));
    EXPECT_EQ(calls[4].args, (std::vector<std::int64_t>{2}));
    EXPECT_EQ(calls[5].values,
              (std::vector<float>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}));
    EXPECT_EQ(calls[6].values, (std::vector<float>{4.5f}));
    EXPECT_EQ(calls[7].values, (std::vector<float>{0.1f, 0.2f, 0.3f, 1.0f}));
    EXPECT_EQ(calls[8].args, (std::vector<std::int64_t>{1}));
    EXPECT_EQ(calls[9].args, (std::vector<std::int64_t>{0, 2}));
    EXPECT_EQ(calls[9].fx, "");

    // The quad's bytes as written, from the Unlock before the calls were
    // cleared: lock, copy, unlock is all the buffer saw.
    d3d9::ClearRecordedCalls(device_);
    ASSERT_EQ(quad->Lock(24, 24, &data, 0), D3D_OK);
    ASSERT_EQ(quad->Unlock(), D3D_OK);
    const std::vector<RecordedCall> unlocks = Only("Unlock");
    ASSERT_EQ(unlocks.size(), 1u);
    EXPECT_EQ(unlocks[0].name, "VertexBuffer");
    ASSERT_EQ(unlocks[0].bytes.size(), 24u);
    EXPECT_EQ(std::memcmp(unlocks[0].bytes.data(), &vertices[1], 24), 0);

    EXPECT_EQ(effect->Release(), 0u);
    EXPECT_EQ(quad->Release(), 0u);
    // The effect held its own reference to the texture until it went.
    EXPECT_EQ(flare->Release(), 0u);
    std::vector<std::string> releases;
    for (const RecordedCall& entry : Only("Release")) {
        releases.push_back(entry.name + entry.fx + entry.texture + " " +
                           std::to_string(entry.args.back()));
    }
    // Each object held the device until it went.
    EXPECT_EQ(releases,
              (std::vector<std::string>{"p.fx 0", flarePath + " 1", "Device 3", "VertexBuffer 0",
                                        "Device 2", flarePath + " 0", "Device 1"}));
}

TEST_F(RecordingDevice, RefusesWhatTheOpenGLDeviceRefuses) {
    IDirect3DVertexBuffer9* quad = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(96, 0, 0x142, D3DPOOL_MANAGED, &quad, nullptr), D3D_OK);
    ASSERT_EQ(device_->SetFVF(0x142), D3D_OK);
    ASSERT_EQ(device_->SetStreamSource(0, quad, 0, 24), D3D_OK);
    // No effect pass has set shaders yet: there is no fixed-function path.
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3DERR_INVALIDCALL);
    ID3DXEffect* effect = LoadEffect();
    UINT passes = 0;
    ASSERT_EQ(effect->Begin(&passes, 0), D3D_OK);
    ASSERT_EQ(effect->BeginPass(0), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    // Four vertices of 24 bytes: a strip of three triangles reads a fifth.
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 3), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 1, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawPrimitive(static_cast<D3DPRIMITIVETYPE>(99), 0, 1), D3DERR_INVALIDCALL);

    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(device_->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr),
              D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(indices->Lock(0, 0, &data, 0), D3D_OK);
    const WORD list[6] = {0, 1, 2, 2, 1, 4};
    std::memcpy(data, list, sizeof list);
    ASSERT_EQ(indices->Unlock(), D3D_OK);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 1), D3DERR_INVALIDCALL)
        << "no index buffer set";
    ASSERT_EQ(device_->SetIndices(indices), D3D_OK);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 1), D3D_OK);
    // Index 4 names a fifth vertex; a base vertex of 2 moves index 2 past
    // the fourth; eight indices are more than the buffer holds.
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 2, 0, 4, 0, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLESTRIP, 0, 0, 4, 0, 6),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(Calls().back().result, D3DERR_INVALIDCALL);
    // The indices a draw reads are checked anew once they are rewritten.
    ASSERT_EQ(indices->Lock(0, 2, &data, 0), D3D_OK);
    const WORD pastTheEnd = 7;
    std::memcpy(data, &pastTheEnd, sizeof pastTheEnd);
    ASSERT_EQ(indices->Unlock(), D3D_OK);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 1), D3DERR_INVALIDCALL);

    // A released buffer is unbound rather than left dangling.
    EXPECT_EQ(quad->Release(), 0u);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(indices->Release(), 0u);
    ASSERT_EQ(effect->EndPass(), D3D_OK);
    ASSERT_EQ(effect->End(), D3D_OK);
    EXPECT_EQ(effect->Release(), 0u);

    EXPECT_EQ(device_->SetFVF(0x142 | 0x004), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetStreamSource(1, nullptr, 0, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetRenderState(D3DRS_SRCBLEND, 99), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetSamplerState(16, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->BeginScene(), D3D_OK);
    EXPECT_EQ(device_->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->EndScene(), D3D_OK);
    const D3DVIEWPORT9 outside{0, 0, 1025, 768, 0.0f, 1.0f};
    EXPECT_EQ(device_->SetViewport(&outside), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->CreateVertexBuffer(0, 0, 0, D3DPOOL_MANAGED, &quad, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(quad, nullptr);
    std::vector<BYTE> frame(1024 * 768 * 4, 7);
    EXPECT_EQ(device_->GetPresentedFrame(frame.data(), 1023 * 4), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->GetPresentedFrame(frame.data(), 1024 * 4), D3D_OK);
    EXPECT_EQ(frame[0], 0);
}

TEST_F(RecordingDevice, ModelVertexDeclarationTakesTheFiftyTwoByteLayout) {
    IDirect3DVertexDeclaration9* declaration = nullptr;
    ASSERT_EQ(device_->CreateVertexDeclaration(ember::kModelElements, &declaration), D3D_OK);
    EXPECT_EQ(Calls().back().args, (std::vector<std::int64_t>{6, 1}));
    ASSERT_EQ(device_->SetVertexDeclaration(declaration), D3D_OK);

    IDirect3DVertexBuffer9* vertices = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(3 * 52, 0, 0, D3DPOOL_MANAGED, &vertices, nullptr),
              D3D_OK);
    ASSERT_EQ(device_->SetStreamSource(0, vertices, 0, 52), D3D_OK);
    ID3DXEffect* effect = LoadEffect();
    ASSERT_EQ(effect->Begin(nullptr, 0), D3D_OK);
    ASSERT_EQ(effect->BeginPass(0), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
    // With a 48-byte stride the third vertex's handedness would end past
    // the buffer.
    ASSERT_EQ(device_->SetStreamSource(0, vertices, 12, 52), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);
    effect->End();
    effect->Release();
    vertices->Release();
    EXPECT_EQ(declaration->Release(), 0u);

    const D3DVERTEXELEMENT9 binormal[] = {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_BINORMAL, 0}, D3DDECL_END()};
    const D3DVERTEXELEMENT9 twice[] = {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
        {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
        D3DDECL_END()};
    EXPECT_EQ(device_->CreateVertexDeclaration(binormal, &declaration), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->CreateVertexDeclaration(twice, &declaration), D3DERR_INVALIDCALL);
    EXPECT_EQ(declaration, nullptr);
}

TEST_F(RecordingDevice, EffectParametersStartAtTheFileValuesAndPersistPerEffect) {
    const std::string path = d3d9test::WriteTextFile("values.fx", R"(
uniform float plain;
uniform float seven = 7.0f;
uniform vec3 splat = vec3(0.5);
uniform vec4 negative = vec4(-1.0, 2, -3e-1, .5);
uniform mat4 columns = mat4(1, 2, 3, 4,  5, 6, 7, 8,  9, 10, 11, 12,  13, 14, 15, 16);
uniform mat4 scaled = mat4(2.0), empty;
uniform sampler2D picture;
vertex V { void main() { gl_Position = vec4(0.0); } }
fragment F { out vec4 c; void main() { c = vec4(1.0); } }
technique T { pass { VertexShader = V; PixelShader = F; } }
)");
    ID3DXEffect* first = nullptr;
    ID3DXEffect* second = nullptr;
    ASSERT_EQ(D3DXCreateEffectFromFileA(device_, path.c_str(), nullptr, nullptr, 0, nullptr, &first,
                                        nullptr),
              D3D_OK);
    ASSERT_EQ(D3DXCreateEffectFromFileA(device_, path.c_str(), nullptr, nullptr, 0, nullptr,
                                        &second, nullptr),
              D3D_OK);
    float value = -1;
    EXPECT_EQ(first->GetFloat("plain", &value), D3D_OK);
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(first->GetFloat("seven", &value), D3D_OK);
    EXPECT_EQ(value, 7.0f);
    D3DXVECTOR4 vector{};
    EXPECT_EQ(first->GetVector("splat", &vector), D3D_OK);
    EXPECT_EQ(vector.x, 0.5f);
    EXPECT_EQ(vector.z, 0.5f);
    EXPECT_EQ(vector.w, 0.0f);
    EXPECT_EQ(first->GetVector("negative", &vector), D3D_OK);
    EXPECT_EQ(vector.x, -1.0f);
    EXPECT_EQ(vector.y, 2.0f);
    EXPECT_EQ(vector.z, -0.3f);
    EXPECT_EQ(vector.w, 0.5f);
    // A GLSL mat4 constructor lists columns: they become the D3DX rows the
    // shader's "v * M" multiplies by, so _12 is the second number.
    D3DXMATRIX matrix;
    EXPECT_EQ(first->GetMatrix("columns", &matrix), D3D_OK);
    EXPECT_EQ(matrix._11, 1.0f);
    EXPECT_EQ(matrix._21, 2.0f);
    EXPECT_EQ(matrix._12, 5.0f);
    EXPECT_EQ(matrix._44, 16.0f);
    EXPECT_EQ(first->GetMatrix("scaled", &matrix), D3D_OK);
    EXPECT_EQ(matrix._33, 2.0f);
    EXPECT_EQ(matrix._34, 0.0f);
    EXPECT_EQ(first->GetMatrix("empty", &matrix), D3D_OK);
    EXPECT_EQ(matrix._11, 0.0f);

    // Two effects from one file keep their own values; values survive
    // Begin/End and later passes.
    EXPECT_EQ(first->SetFloat("seven", 1.5f), D3D_OK);
    EXPECT_EQ(second->SetFloat("seven", 2.5f), D3D_OK);
    for (int frame = 0; frame < 2; ++frame) {
        ASSERT_EQ(first->Begin(nullptr, 0), D3D_OK);
        ASSERT_EQ(first->BeginPass(0), D3D_OK);
        ASSERT_EQ(first->EndPass(), D3D_OK);
        ASSERT_EQ(first->End(), D3D_OK);
    }
    EXPECT_EQ(first->GetFloat("seven", &value), D3D_OK);
    EXPECT_EQ(value, 1.5f);
    EXPECT_EQ(second->GetFloat("seven", &value), D3D_OK);
    EXPECT_EQ(value, 2.5f);

    // Types decide what a parameter takes.
    const D3DXVECTOR4 four{1, 2, 3, 4};
    EXPECT_EQ(first->SetVector("splat", &four), D3D_OK);
    EXPECT_EQ(first->GetVector("splat", &vector), D3D_OK);
    EXPECT_EQ(vector.z, 3.0f);
    EXPECT_EQ(vector.w, 0.0f);
    EXPECT_EQ(first->SetMatrix("splat", &matrix), D3DERR_INVALIDCALL);
    EXPECT_EQ(first->SetVector("columns", &four), D3DERR_INVALIDCALL);
    EXPECT_EQ(first->SetFloat("picture", 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(first->SetTexture("seven", nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(first->SetFloat("missing", 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(first->SetFloat(nullptr, 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(first->SetFloat(reinterpret_cast<D3DXHANDLE>(std::uintptr_t(99)), 1.0f),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(first->GetParameterByName(nullptr, "missing"), nullptr);
    EXPECT_EQ(first->GetTechniqueByName("Missing"), nullptr);
    // A technique handle is no parameter handle.
    EXPECT_EQ(first->SetFloat(first->GetTechniqueByName("T"), 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(Calls().back().result, D3DERR_INVALIDCALL);

    // Calls out of order fail and change nothing.
    EXPECT_EQ(first->BeginPass(0), D3DERR_INVALIDCALL);
    EXPECT_EQ(first->EndPass(), D3DERR_INVALIDCALL);
    EXPECT_EQ(first->End(), D3DERR_INVALIDCALL);
    EXPECT_EQ(first->CommitChanges(), D3DERR_INVALIDCALL);
    ASSERT_EQ(first->Begin(nullptr, 0), D3D_OK);
    EXPECT_EQ(first->Begin(nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(first->BeginPass(1), D3DERR_INVALIDCALL);
    EXPECT_EQ(first->SetTechnique("T"), D3DERR_INVALIDCALL);
    EXPECT_EQ(first->End(), D3D_OK);

    EXPECT_EQ(first->Release(), 0u);
    EXPECT_EQ(second->Release(), 0u);
}

TEST_F(RecordingDevice, BadEffectFilesNameTheFileAndLine) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"uniform float a;\n\ntechnique T {\n  pass P { Foo = 1; }\n}\n",
         "(4): error: unknown render state 'Foo'"},
        {"vertex V { void main() {} }\nfragment F { out vec4 c; void main() {} }\n"
         "technique T {\n  pass P {\n    ZEnable = maybe;\n    VertexShader = V;\n"
         "    PixelShader = F;\n  }\n}\n",
         "(5): error: 'maybe' is not a value of ZEnable"},
        {"uniform mat3 m;\n", "(1): error: parameter type 'mat3' is not supported"},
        {"uniform float a;\nuniform vec4 a;\n", "(2): error: parameter 'a' is declared twice"},
        {"uniform vec4 v = vec4(1.0, 2.0);\n", "(1): error: cannot read the initial value of 'v'"},
        {"vertex V {\n  uniform float x;\n}\n", "(2): error: declare uniforms at the top level"},
        {"technique T {\n  pass P {\n    VertexShader = V;\n    PixelShader = F;\n  }\n}\n",
         "(2): error: no vertex stage named 'V'"},
        {"vertex V { void main() {}\n", "(1): error: missing '}' to close this stage block"},
        {"#version 330\n", "(1): error: remove #version"},
        {"sampler_state s { AddressU = Wrap; }\n",
         "(1): error: sampler_state 's' does not name a sampler2D parameter"},
        {"/* open\n\n", "(1): error: comment is not closed"},
        {"", "(1): error: no technique in the file"},
        {"uniform float a;\nvertex V { void main() {} }\n", "(1): error: no technique in the file"},
    };
    for (const Case& bad : cases) {
        const std::string path = d3d9test::WriteTextFile("bad.fx", bad.text);
        ID3DXEffect* effect = nullptr;
        ID3DXBuffer* errors = nullptr;
        EXPECT_EQ(D3DXCreateEffectFromFileA(device_, path.c_str(), nullptr, nullptr, 0, nullptr,
                                            &effect, &errors),
                  E_FAIL)
            << bad.text;
        EXPECT_EQ(effect, nullptr);
        ASSERT_NE(errors, nullptr) << bad.text;
        const std::string text(static_cast<const char*>(errors->GetBufferPointer()));
        EXPECT_EQ(errors->GetBufferSize(), text.size() + 1);
        EXPECT_EQ(text.rfind(path + bad.expected, 0), 0u) << text;
        EXPECT_EQ(errors->Release(), 0u);
    }
}

TEST_F(RecordingDevice, MissingFilesFailWithoutCreatingAnything) {
    ID3DXEffect* effect = nullptr;
    ID3DXBuffer* errors = reinterpret_cast<ID3DXBuffer*>(&effect);
    EXPECT_EQ(D3DXCreateEffectFromFileA(device_, "data\\shaders\\none.fx", nullptr, nullptr, 0,
                                        nullptr, &effect, &errors),
              static_cast<HRESULT>(0x80070002));
    EXPECT_EQ(effect, nullptr);
    EXPECT_EQ(errors, nullptr);

    IDirect3DTexture9* texture = nullptr;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(D3DXCreateTextureFromFileA(device_, "textures\\none.png", &texture),
              static_cast<HRESULT>(0x80070002));
    EXPECT_EQ(texture, nullptr);
    const std::string notAPicture = d3d9test::WriteTextFile("picture.png", "not a picture");
    EXPECT_EQ(D3DXCreateTextureFromFileA(device_, notAPicture.c_str(), &texture),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(texture, nullptr);
    // Each picture left out of the show says which file and why.
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Direct3D stand-in: texture \"textures\\none.png\" not found\n"
              "Direct3D stand-in: texture \"" +
                  notAPicture +
                  "\" cannot be read as a JPEG, PNG or TGA picture of at most 16384 pixels a "
                  "side\n");
    EXPECT_EQ(D3DXCreateTextureFromFileA(nullptr, notAPicture.c_str(), &texture),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(Calls().back().call, "D3DXCreateTextureFromFileA");
    EXPECT_EQ(Calls().back().result, D3DXERR_INVALIDDATA);
}

// A header promising a huge picture is refused before the decoder allocates
// for it: a few bytes must not cost gigabytes.
TEST_F(RecordingDevice, PicturesLargerThanATextureAreRefusedFromTheirHeader) {
    // Uncompressed 32-bit TGA, 65535 x 65535, with eight bytes of pixels.
    std::string tga(18, '\0');
    tga[2] = 2;
    tga[12] = tga[13] = tga[14] = tga[15] = '\xff';
    tga[16] = 32;
    tga[17] = 8;
    tga += std::string(8, '\x7f');
    const std::string huge = d3d9test::WriteTextFile("huge.tga", tga);
    // 16385 x 1: one pixel over the widest side.
    std::string wide = tga;
    wide[12] = 0x01;
    wide[13] = 0x40;
    wide[14] = 1;
    wide[15] = 0;
    const std::string tooWide = d3d9test::WriteTextFile("wide.tga", wide);
    IDirect3DTexture9* texture = nullptr;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(D3DXCreateTextureFromFileA(device_, huge.c_str(), &texture), D3DXERR_INVALIDDATA);
    EXPECT_EQ(D3DXCreateTextureFromFileA(device_, tooWide.c_str(), &texture), D3DXERR_INVALIDDATA);
    EXPECT_EQ(texture, nullptr);
    ::testing::internal::GetCapturedStderr();
    // 16384 x 1 is taken; with a quarter of its pixels there, the missing
    // ones read as black.
    wide[12] = 0x00;
    wide += std::string(16384 - 8, '\x7f');
    ASSERT_EQ(D3DXCreateTextureFromFileA(device_, d3d9test::WriteTextFile("edge.tga", wide).c_str(),
                                         &texture),
              D3D_OK);
    D3DSURFACE_DESC description{};
    EXPECT_EQ(texture->GetLevelDesc(0, &description), D3D_OK);
    EXPECT_EQ(description.Width, 16384u);
    texture->Release();
}

// Pictures decoded ahead on the worker, or by the creation itself when the
// worker has not reached them, come out as they do without: the same
// results, messages and sizes, in whatever order they are asked for.
TEST_F(RecordingDevice, PicturesDecodedAheadHaveTheSameOutcomes) {
    const std::string wide =
        d3d9test::WriteImage("ahead.png", 8, 3, std::vector<std::uint32_t>(24, 0x00FF00FF));
    const std::string photo =
        d3d9test::WriteImage("ahead.jpg", 4, 4, std::vector<std::uint32_t>(16, 0x808080FF));
    const std::string broken = d3d9test::WriteTextFile("ahead_broken.png", "not a picture");
    const std::string unused =
        d3d9test::WriteImage("ahead_unused.tga", 2, 2, std::vector<std::uint32_t>(4, 0xFFFFFFFF));
    const char* missing = "textures\\ahead_none.png";
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "decoded ahead" : "decoded when asked for");
        if (round == 0) {
            const char* files[] = {wide.c_str(), missing, broken.c_str(), photo.c_str(),
                                   unused.c_str()};
            d3d9::DecodeAhead(files, std::size(files));
        }
        ::testing::internal::CaptureStderr();
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(D3DXCreateTextureFromFileA(device_, photo.c_str(), &texture), D3D_OK);
        D3DSURFACE_DESC desc{};
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
        EXPECT_EQ(desc.Width, 4u);
        texture->Release();
        EXPECT_EQ(D3DXCreateTextureFromFileA(device_, missing, &texture),
                  static_cast<HRESULT>(0x80070002));
        EXPECT_EQ(D3DXCreateTextureFromFileA(device_, broken.c_str(), &texture),
                  D3DXERR_INVALIDDATA);
        EXPECT_EQ(texture, nullptr);
        EXPECT_EQ(D3DXCreateTextureFromFileA(device_, wide.c_str(), &texture), D3D_OK);
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(texture->GetLevelCount(), 4u);
        EXPECT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
        EXPECT_EQ(desc.Width, 8u);
        EXPECT_EQ(desc.Height, 3u);
        texture->Release();
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
                  "Direct3D stand-in: texture \"textures\\ahead_none.png\" not found\n"
                  "Direct3D stand-in: texture \"" +
                      broken +
                      "\" cannot be read as a JPEG, PNG or TGA picture of at most 16384 pixels "
                      "a side\n");
        // What was never asked for goes with the worker.
        d3d9::EndDecodeAhead();
    }
}

TEST_F(RecordingDevice, TexturesDescribeTheirMipmapChain) {
    std::vector<std::uint32_t> pixels(8 * 3, 0xFF0000FF);
    const std::string path = d3d9test::WriteImage("wide.png", 8, 3, pixels);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileA(device_, path.c_str(), &texture), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 4u);
    D3DSURFACE_DESC desc{};
    EXPECT_EQ(texture->GetLevelDesc(2, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 2u);
    EXPECT_EQ(desc.Height, 1u);
    EXPECT_EQ(texture->GetLevelDesc(4, &desc), D3DERR_INVALIDCALL);
    IDirect3DDevice9* owner = nullptr;
    EXPECT_EQ(texture->GetDevice(&owner), D3D_OK);
    EXPECT_EQ(owner, device_);
    owner->Release();
    EXPECT_EQ(texture->Release(), 0u);

    // System paths keep their backslashes; JPEG decodes too.
    std::string windowsPath =
        d3d9test::WriteImage("photo.jpg", 4, 4, std::vector<std::uint32_t>(16, 0x808080FF));
    for (char& c : windowsPath) {
        c = c == '/' ? '\\' : c;
    }
    ASSERT_EQ(D3DXCreateTextureFromFileA(device_, windowsPath.c_str(), &texture), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 3u);
    EXPECT_EQ(Calls().back().texture, windowsPath);
    EXPECT_EQ(texture->Release(), 0u);
}

TEST(RecordingBackend, Direct3DCreate9MakesRecordingDevicesWhileAskedTo) {
    d3d9::UseRecordingBackend(true);
    IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    d3d9::UseRecordingBackend(false);
    ASSERT_NE(direct3d, nullptr);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = 320;
    parameters.BackBufferHeight = 200;
    parameters.Windowed = TRUE;
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0, &parameters,
                                     &device),
              D3D_OK);
    EXPECT_TRUE(d3d9::IsRecordingDevice(device));
    D3DVIEWPORT9 viewport{};
    EXPECT_EQ(device->GetViewport(&viewport), D3D_OK);
    EXPECT_EQ(viewport.Width, 320u);
    DWORD zEnable = 1;
    EXPECT_EQ(device->GetRenderState(D3DRS_ZENABLE, &zEnable), D3D_OK);
    EXPECT_EQ(zEnable, 0u) << "no automatic depth buffer was asked for";
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(direct3d->Release(), 0u);
    EXPECT_EQ(Direct3DCreate9(31), nullptr);
}

}  // namespace
