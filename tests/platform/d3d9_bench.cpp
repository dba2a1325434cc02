// What a particle system's frame costs the Direct3D stand-in: 3000 sprites,
// each a matrix, a float and a vector set, one pass and one draw, on the
// OpenGL device offscreen at 1024x768 (run from the run folder:
// ./d3d9_bench).
#include <d3d9.h>
#include <d3dx9.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

constexpr int kParticles = 3000;

constexpr const char* kEffect = R"(uniform mat4 World;
uniform mat4 ViewProj;
uniform float P_size = 1.0;
uniform vec4 K_diffuse = vec4(1.0);
vertex SpriteVS {
    layout(location = ATTR_POSITION) in vec3 position;
    void main() { gl_Position = vec4(position * P_size, 1.0) * World * ViewProj; }
}
fragment SpriteFS { out vec4 colour; void main() { colour = K_diffuse; } }
technique ParticleTechnique {
    pass P0 {
        AlphaBlendEnable = true; SrcBlend = SrcAlpha; DestBlend = One; ZWriteEnable = false;
        VertexShader = SpriteVS; PixelShader = SpriteFS;
    }
}
)";

struct Vertex {
    float x, y, z;
    DWORD colour;
    float u, v;
};

void ParticleFrame(benchmark::State& state) {
    const std::string path = "d3d9_bench_particles.fx";
    std::ofstream(path) << kEffect;
    IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = 1024;
    parameters.BackBufferHeight = 768;
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    IDirect3DDevice9* device = nullptr;
    ID3DXEffect* effect = nullptr;
    IDirect3DVertexBuffer9* quad = nullptr;
    if (direct3d == nullptr ||
        direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0, &parameters,
                               &device) != D3D_OK ||
        D3DXCreateEffectFromFileA(device, path.c_str(), nullptr, nullptr, 0, nullptr, &effect,
                                  nullptr) != D3D_OK ||
        device->CreateVertexBuffer(96, 0, 0x142, D3DPOOL_MANAGED, &quad, nullptr) != D3D_OK) {
        state.SkipWithError("no device");
        return;
    }
    const Vertex vertices[4] = {{-0.5f, -0.5f, 0, 0xFFFFFFFF, 0, 1},
                                {-0.5f, 0.5f, 0, 0xFFFFFFFF, 0, 0},
                                {0.5f, -0.5f, 0, 0xFFFFFFFF, 1, 1},
                                {0.5f, 0.5f, 0, 0xFFFFFFFF, 1, 0}};
    void* data = nullptr;
    quad->Lock(0, 96, &data, 0);
    std::memcpy(data, vertices, sizeof vertices);
    quad->Unlock();
    D3DXMATRIX view, projection, viewProj;
    const D3DXVECTOR3 eye{0, 0, 30}, at{0, 0, 0}, up{0, 1, 0};
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, 1.5707964f, 1.0f, 1.0f, 4000.0f);
    D3DXMatrixMultiply(&viewProj, &view, &projection);
    effect->SetMatrix("ViewProj", &viewProj);
    const D3DXHANDLE world = effect->GetParameterByName(nullptr, "World");
    const D3DXHANDLE size = effect->GetParameterByName(nullptr, "P_size");
    const D3DXHANDLE diffuse = effect->GetParameterByName(nullptr, "K_diffuse");
    for (auto _ : state) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device->SetFVF(0x142);
        device->SetStreamSource(0, quad, 0, sizeof(Vertex));
        effect->SetTechnique("ParticleTechnique");
        UINT passes = 0;
        effect->Begin(&passes, 0);
        for (int i = 0; i < kParticles; ++i) {
            D3DXMATRIX translation;
            D3DXMatrixTranslation(&translation, float(i % 60) - 30.0f, float(i / 60) - 25.0f, 0);
            effect->SetMatrix(world, &translation);
            effect->SetFloat(size, 1.5f);
            const D3DXVECTOR4 colour{1.0f, 0.5f, 0.25f, 0.5f};
            effect->SetVector(diffuse, &colour);
            effect->BeginPass(0);
            device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
            effect->EndPass();
        }
        effect->End();
        device->Present(nullptr, nullptr, nullptr, nullptr);
    }
    quad->Release();
    effect->Release();
    device->Release();
    direct3d->Release();
    std::remove(path.c_str());
}
BENCHMARK(ParticleFrame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
