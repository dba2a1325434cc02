// The trace lines of effect calls and draws, to the character: only the
// calls the trace format lists write one.
#include <d3d9_record.h>
#include <d3dx9.h>
#include <trace.h>

#include <gtest/gtest.h>

#include "d3d9_test_files.h"

#include <cstring>
#include <fstream>
#include <regex>

namespace {

constexpr const char* kEffect = R"(uniform mat4 World;
uniform float fA = 1.0;
uniform vec4 K_diffuse;
uniform sampler2D g_BaseTexture;
vertex V {
    layout(location = ATTR_POSITION) in vec3 position;
    void main() { gl_Position = vec4(position, 1.0) * World; }
}
fragment F { out vec4 c; void main() { c = K_diffuse * fA; } }
technique ParticleTechnique { pass P0 { VertexShader = V; PixelShader = F; } }
)";

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(D3D9Trace, EffectCallsAndDrawsWriteOneLineEachInCallOrder) {
    const std::string effectPath = d3d9test::WriteTextFile("p.fx", kEffect);
    const std::string tracePath = d3d9test::TestPath("calls.jsonl");
    IDirect3DDevice9* device = d3d9::CreateRecordingDevice(nullptr);
    ID3DXEffect* traced = nullptr;
    ID3DXEffect* quiet = nullptr;
    ASSERT_EQ(D3DXCreateEffectFromFileA(device, effectPath.c_str(), nullptr, nullptr, 0, nullptr,
                                        &traced, nullptr),
              D3D_OK);
    ASSERT_EQ(D3DXCreateEffectFromFileA(device, effectPath.c_str(), nullptr, nullptr,
                                        D3DXFX_STANDIN_NOTRACE, nullptr, &quiet, nullptr),
              D3D_OK);
    IDirect3DVertexBuffer9* quad = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(96, 0, 0x142, D3DPOOL_MANAGED, &quad, nullptr), D3D_OK);
    ASSERT_EQ(device->SetFVF(0x142), D3D_OK);
    ASSERT_EQ(device->SetStreamSource(0, quad, 0, 24), D3D_OK);
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(device->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr),
              D3D_OK);
    void* indexBytes = nullptr;
    ASSERT_EQ(indices->Lock(0, 12, &indexBytes, 0), D3D_OK);
    const WORD quadIndices[6] = {0, 1, 2, 2, 1, 3};
    std::memcpy(indexBytes, quadIndices, sizeof quadIndices);
    ASSERT_EQ(indices->Unlock(), D3D_OK);
    ASSERT_EQ(device->SetIndices(indices), D3D_OK);

    ASSERT_TRUE(trace::Open(tracePath.c_str()));
    const D3DXHANDLE world = traced->GetParameterByName(nullptr, "World");
    traced->SetTexture("g_BaseTexture", nullptr);
    traced->SetTechnique(traced->GetTechniqueByName("ParticleTechnique"));
    UINT passes = 0;
    traced->Begin(&passes, 0);
    D3DXMATRIX move;
    D3DXMatrixTranslation(&move, 0.5f, -2.0f, 1e-7f);
    traced->SetMatrix(world, &move);
    traced->SetFloat("fA", 0.1f);
    const D3DXVECTOR4 colour{1.0f, 0.5f, 0.25f, 1.0f};
    traced->SetVector("K_diffuse", &colour);
    traced->SetFloat("missing", 1.0f);
    traced->BeginPass(0);
    traced->CommitChanges();
    quiet->SetFloat("fA", 2.0f);
    quiet->Begin(&passes, 0);
    quiet->BeginPass(0);
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    // Indexed draws and CommitChanges write no line.
    ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
    quiet->EndPass();
    quiet->End();
    traced->EndPass();
    traced->End();
    trace::Close();

    const std::vector<std::string> lines = ReadLines(tracePath);
    ASSERT_FALSE(lines.empty());
    std::smatch id;
    ASSERT_TRUE(std::regex_search(lines[0], id, std::regex(R"("id":(\d+),)")));
    const std::string head = R"({"fx":"p.fx","id":)" + id[1].str() + R"(,"call":)";
    EXPECT_EQ(lines, (std::vector<std::string>{
                         head + R"("SetTexture","name":"g_BaseTexture"})",
                         head + R"("SetTechnique","name":"ParticleTechnique"})",
                         head + R"("Begin","passes":1})",
                         head + R"("SetMatrix","name":"World","m":[1,0,0,0,0,1,0,0,0,0,1,0,)"
                                R"(0.5,-2,1.00000001e-07,1]})",
                         head + R"("SetFloat","name":"fA","value":0.100000001})",
                         head + R"("SetVector","name":"K_diffuse","v":[1,0.5,0.25,1]})",
                         head + R"("BeginPass","pass":0})",
                         R"({"d3d":"DrawPrimitive","type":"TRIANGLESTRIP","start":0,"count":2})",
                         head + R"("EndPass"})",
                         head + R"("End"})",
                     }));

    // Off, nothing more is written.
    traced->SetFloat("fA", 0.2f);
    EXPECT_EQ(ReadLines(tracePath).size(), lines.size());

    traced->Release();
    quiet->Release();
    quad->Release();
    indices->Release();
    EXPECT_EQ(device->Release(), 0u);
}

}  // namespace
