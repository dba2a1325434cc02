// CTrailParticles: a particle system that can emit all its particles at once,
// leaving a trail as they die one after another.
#pragma once

#include "effects/ParticleSystem.h"

class CTrailParticles final : public CParticleSystem {
public:
    ~CTrailParticles() override { ReleaseResources(); }

    // Every particle alive at the emitter with size 0, a lifetime from 0 to
    // 8 and a slow upward drift. Always 0.
    HRESULT Reset() override;
};
