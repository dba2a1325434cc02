// CParticleSystem: 3000 particles moved every frame, re-emitted at a movable
// emitter when their life runs out, and drawn as one textured quad each
// through the system's own effect ("data\shaders\p.fx") on the Direct3D 9
// device. Derived classes decide how a whole system is emitted (Reset).
#pragma once

#include "effects/Particle.h"
#include "render/Vec3.h"

#include <d3dx9.h>

#include <cstdint>

class CParticleSystem {
public:
    static constexpr int kParticleCount = 3000;

    CParticleSystem();
    CParticleSystem(const CParticleSystem&) = delete;
    CParticleSystem& operator=(const CParticleSystem&) = delete;
    // Releases nothing: ReleaseResources does.
    virtual ~CParticleSystem() = default;

    // Draws every live particle in every pass of "ParticleTechnique". The
    // caller has set "View" and "Proj"; "World" is overwritten per particle.
    // Draws nothing, and touches nothing, unless Init succeeded. Always 0.
    virtual HRESULT Render();
    // Emits every particle anew. Always 0.
    virtual HRESULT Reset() = 0;

    // Creates the quad, the effect and the particles, and takes the flare
    // texture (which must be loaded first). 0, or E_FAIL: the effect does not
    // build (with a box), the quad cannot be made, or memory runs out (with
    // a box). A failed Init leaves the system unable to update or draw.
    HRESULT Init(IDirect3DDevice9* d3dDevice);
    // Moves, ages and shrinks the live particles by a frame of dt seconds and
    // re-emits the dead ones. Always 0.
    HRESULT Update(float dt);
    // Emits one particle at the emitter. Everything one system emits within a
    // millisecond starts identical. Always 0.
    HRESULT Respawn(Particle& particle);
    // One particle's sprite in pass `pass`, between Begin and End.
    void DrawParticle(const Particle& particle, UINT pass);
    // Frees the effect, the quad and the particles; the texture is not ours.
    void ReleaseResources();

    // Whether Init built everything Update and Render use.
    bool Ready() const {
        return effect != nullptr && vertexBuffer != nullptr && particles != nullptr;
    }

    IDirect3DDevice9* device = nullptr;
    ID3DXEffect* effect = nullptr;
    IDirect3DVertexBuffer9* vertexBuffer = nullptr;
    IDirect3DTexture9* texture = nullptr;
    D3DXHANDLE technique = nullptr;
    D3DXHANDLE worldParam = nullptr;
    D3DXHANDLE sizeParam = nullptr;
    D3DXHANDLE diffuseParam = nullptr;
    int particleCount = 0;
    Particle* particles = nullptr;
    // Added to the y of every live particle once per Update.
    float rise = 0.0f;
    // Where particles are emitted.
    Vec3 emitter{};

    // Added to Respawn's seed, so two systems emitting in the same
    // millisecond differ.
    std::uint32_t SeedOffset() const { return seedOffset_; }

private:
    HRESULT CreateQuad();
    HRESULT CreateEffect();

    // The system's number in creation order: unique to it, and the same in
    // every run (an address would change from run to run and make captures
    // differ).
    std::uint32_t seedOffset_;
};
