// The particle scene: set-up, the per-frame drawing on the particles' own
// camera, and teardown.
#include "effects/ParticleScene.h"

#include "app/Timer.h"
#include "render/Matrix4.h"
#include "show/ShowState.h"

#include <d3dx9.h>

#include <cmath>
#include <new>

IDirect3DTexture9* g_flareTexture = nullptr;
CTrailParticles* g_firstParticleSystem = nullptr;
CTrailParticles* g_secondParticleSystem = nullptr;

void SetParticleCamera(ID3DXEffect& effect, const Matrix4& world) {
    effect.SetMatrix("World", &world);
    const D3DXVECTOR3 eye = {0.0f, 0.0f, 30.0f};
    const D3DXVECTOR3 at = {0.0f, 0.0f, 0.0f};
    const D3DXVECTOR3 up = {0.0f, 1.0f, 0.0f};
    Matrix4 view;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    effect.SetMatrix("View", &view);
    Matrix4 projection;
    D3DXMatrixPerspectiveFovLH(&projection, 1.5707964f, 1.0f, 1.0f, 4000.0f);
    effect.SetMatrix("Proj", &projection);
}

namespace {

constexpr float kRise = 0.0125f;

CTrailParticles* CreateParticleSystem(IDirect3DDevice9* device) {
    CTrailParticles* system = new (std::nothrow) CTrailParticles();
    if (system == nullptr) {
        return nullptr;
    }
    if (system->effect == nullptr) {
        system->Init(device);
    }
    system->rise = kRise;
    system->Reset();
    return system;
}

// The camera, then one frame of the system's life.
void DrawParticleSystem(CTrailParticles* system) {
    if (system == nullptr || !system->Ready()) {
        return;
    }
    SetParticleCamera(*system->effect, g_show.identityWorld);
    system->Update(g_timer->GetFrameTime());
    system->Render();
}

// Once its pointer is cleared nothing can reach the object, so it is freed
// too rather than left for the process exit.
void ReleaseParticleSystem(CTrailParticles*& system) {
    if (system != nullptr) {
        system->ReleaseResources();
        delete system;
        system = nullptr;
    }
}

}  // namespace

void SetupParticleScene(IDirect3DDevice9* device) {
    D3DXCreateTextureFromFileA(device, "data\\textures\\flare.tga", &g_flareTexture);
    g_firstParticleSystem = CreateParticleSystem(device);
    g_secondParticleSystem = CreateParticleSystem(device);
}

// The emitter swings along x between 0 and 10, 35 units below the origin,
// once every 8 pi seconds.
void DrawFirstParticleSystem() {
    if (g_firstParticleSystem == nullptr) {
        return;
    }
    const float a = g_show.showClock * 0.25f;
    const float w = std::cos(a);
    g_firstParticleSystem->emitter.Set(w * 5.0f + 5.0f, -35.0f, 0.0f);
    DrawParticleSystem(g_firstParticleSystem);
}

void DrawSecondParticleSystem() {
    DrawParticleSystem(g_secondParticleSystem);
}

void ReleaseParticleScene() {
    ReleaseParticleSystem(g_firstParticleSystem);
    ReleaseParticleSystem(g_secondParticleSystem);
    if (g_flareTexture != nullptr) {
        g_flareTexture->Release();
        g_flareTexture = nullptr;
    }
}
