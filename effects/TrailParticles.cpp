// The trail system's reset: one seed, then seven draws per particle.
#include "effects/TrailParticles.h"

#include "effects/ParticleRandom.h"

// Sizes start at 0 and only shrink, so a fresh reset shows nothing until
// each particle dies and is re-emitted with a real size: with lifetimes up
// to 8 and age growing at a tenth of real time, they appear one after
// another over some 80 seconds.
HRESULT CTrailParticles::Reset() {
    if (!Ready()) {
        return 0;
    }
    ParticleRandom random(GetTickCount());
    for (int i = 0; i < particleCount; ++i) {
        Particle& particle = particles[i];
        particle.position = emitter;
        particle.age = 0.0f;
        particle.alive = 1;
        particle.lifetime = 8.0f * random.Next();
        particle.size = 0.0f;
        const float x = -0.35f + 0.7f * random.Next();
        const float y = 0.035f + 0.315f * random.Next();
        const float z = -0.35f + 0.7f * random.Next();
        particle.velocity.Set(x, y, z);
        const float red = 0.5f + 0.5f * random.Next();
        const float green = 0.1f + 0.5f * random.Next();
        const float blue = 0.2f * random.Next();
        particle.colour = {red, green, blue, 1.0f};
    }
    return 0;
}
