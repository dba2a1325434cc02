// The particle system's life: its quad, effect and records, the update that
// moves and re-emits particles, and the sprite draws.
#include "effects/ParticleSystem.h"

#include "effects/ParticleRandom.h"
#include "effects/ParticleScene.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace {

constexpr const char* kEffectFile = "data\\shaders\\p.fx";
constexpr DWORD kQuadFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct QuadVertex {
    float x, y, z;
    DWORD colour;
    float u, v;
};
static_assert(sizeof(QuadVertex) == 24, "the quad's vertex is FVF 0x142");

// The unit quad every sprite is drawn with, as a strip of two triangles.
constexpr QuadVertex kQuad[4] = {{-0.5f, -0.5f, 0.0f, 0xFFFFFFFFu, 0.0f, 1.0f},
                                 {-0.5f, 0.5f, 0.0f, 0xFFFFFFFFu, 0.0f, 0.0f},
                                 {0.5f, -0.5f, 0.0f, 0xFFFFFFFFu, 1.0f, 1.0f},
                                 {0.5f, 0.5f, 0.0f, 0xFFFFFFFFu, 1.0f, 0.0f}};

// Age grows at a tenth of real time; sizes shrink a little each update.
constexpr float kAgePerSecond = 0.1f;
constexpr float kShrinkPerUpdate = 0.99865f;

std::uint32_t g_systemsCreated = 0;

}  // namespace

CParticleSystem::CParticleSystem() : seedOffset_(++g_systemsCreated) {}

HRESULT CParticleSystem::Init(IDirect3DDevice9* d3dDevice) {
    ReleaseResources();
    device = d3dDevice;
    if (FAILED(CreateQuad())) {
        return E_FAIL;
    }
    if (FAILED(CreateEffect())) {
        vertexBuffer->Release();
        vertexBuffer = nullptr;
        return E_FAIL;
    }
    technique = effect->GetTechniqueByName("ParticleTechnique");
    worldParam = effect->GetParameterByName(nullptr, "World");
    sizeParam = effect->GetParameterByName(nullptr, "P_size");
    diffuseParam = effect->GetParameterByName(nullptr, "K_diffuse");
    texture = g_flareTexture;

    particleCount = kParticleCount;
    particles = new (std::nothrow) Particle[kParticleCount]();
    if (particles == nullptr) {
        MessageBoxA(nullptr, "failed to allocate particle list", "error", MB_OK);
        return E_FAIL;
    }
    return 0;
}

// A buffer that cannot be made or filled is released: the system has no quad.
HRESULT CParticleSystem::CreateQuad() {
    if (device == nullptr ||
        FAILED(device->CreateVertexBuffer(sizeof kQuad, 0, kQuadFvf, D3DPOOL_MANAGED, &vertexBuffer,
                                          nullptr))) {
        vertexBuffer = nullptr;
        return E_FAIL;
    }
    void* data = nullptr;
    HRESULT result = vertexBuffer->Lock(0, sizeof kQuad, &data, 0);
    if (SUCCEEDED(result)) {
        std::memcpy(data, kQuad, sizeof kQuad);
        result = vertexBuffer->Unlock();
    }
    if (FAILED(result)) {
        vertexBuffer->Release();
        vertexBuffer = nullptr;
    }
    return result;
}

// The compiler's text, or which file could not be read when there is none,
// goes to a box; the system is then left without an effect.
HRESULT CParticleSystem::CreateEffect() {
    ID3DXBuffer* errors = nullptr;
    const HRESULT result = D3DXCreateEffectFromFileA(device, kEffectFile, nullptr, nullptr, 0,
                                                     nullptr, &effect, &errors);
    if (errors == nullptr && SUCCEEDED(result) && effect != nullptr) {
        return 0;
    }
    if (errors != nullptr) {
        MessageBoxA(nullptr, static_cast<const char*>(errors->GetBufferPointer()),
                    "Fx Compile Error", MB_OK | MB_ICONWARNING);
        errors->Release();
    } else {
        MessageBoxA(nullptr, "Effect file data\\shaders\\p.fx could not be read",
                    "Fx Compile Error", MB_OK | MB_ICONWARNING);
    }
    if (effect != nullptr) {
        effect->Release();
        effect = nullptr;
    }
    return E_FAIL;
}

// Each particle either moves or, when dead, is emitted anew and waits for
// the next update to move.
HRESULT CParticleSystem::Update(float dt) {
    if (!Ready()) {
        return 0;
    }
    for (int i = 0; i < particleCount; ++i) {
        Particle& particle = particles[i];
        if (particle.alive == 0) {
            Respawn(particle);
            continue;
        }
        Vec3 step;
        particle.velocity.Scale(&step, &dt);
        particle.position.Add(step);
        particle.position.y += rise;
        particle.age += dt * kAgePerSecond;
        particle.size *= kShrinkPerUpdate;
        if (particle.lifetime <= particle.age) {
            particle.alive = 0;
        }
    }
    return 0;
}

// Seeded afresh from the millisecond clock and the system's own number, so
// two systems emitting in the same millisecond still differ.
HRESULT CParticleSystem::Respawn(Particle& particle) {
    ParticleRandom random(GetTickCount() + seedOffset_);
    particle.position = emitter;
    particle.age = 0.0f;
    particle.alive = 1;
    particle.lifetime = 4.0f + 14.0f * random.Next();
    particle.size = (0.5f + 8.25f * random.Next()) + 0.5f;
    const float x = random.Next() - 0.5f;
    const float y = random.Next() - 0.5f;
    const float z = random.Next() - 0.5f;
    particle.velocity.Set(x, y, z);
    particle.colour = {1.0f, 1.0f, 1.0f, 1.0f};
    return 0;
}

HRESULT CParticleSystem::Render() {
    if (!Ready()) {
        return 0;
    }
    effect->SetTexture("g_BaseTexture", texture);
    device->SetFVF(kQuadFvf);
    device->SetStreamSource(0, vertexBuffer, 0, sizeof(QuadVertex));
    effect->SetTechnique(technique);
    UINT passes = 0;
    effect->Begin(&passes, 0);
    for (UINT pass = 0; pass < passes; ++pass) {
        for (int i = 0; i < particleCount; ++i) {
            if (particles[i].alive != 0) {
                DrawParticle(particles[i], pass);
            }
        }
    }
    effect->End();
    return 0;
}

// Every parameter is set before BeginPass, so no CommitChanges is needed.
void CParticleSystem::DrawParticle(const Particle& particle, UINT pass) {
    D3DXMATRIX world;
    D3DXMatrixTranslation(&world, particle.position.x, particle.position.y, particle.position.z);
    effect->SetMatrix(worldParam, &world);
    effect->SetFloat(sizeParam, particle.size);
    const D3DXVECTOR4 colour = {particle.colour.r, particle.colour.g, particle.colour.b,
                                particle.colour.a};
    effect->SetVector(diffuseParam, &colour);
    effect->BeginPass(pass);
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    effect->EndPass();
}

void CParticleSystem::ReleaseResources() {
    if (effect != nullptr) {
        effect->Release();
        effect = nullptr;
    }
    texture = nullptr;
    if (vertexBuffer != nullptr) {
        vertexBuffer->Release();
        vertexBuffer = nullptr;
    }
    delete[] particles;
    particles = nullptr;
}
