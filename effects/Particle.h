// Particle: one record of a particle system, all zero when new.
#pragma once

#include "render/Color4.h"
#include "render/Vec3.h"

struct Particle {
    // Non-zero while the particle lives; a dead one is not drawn and is
    // emitted anew by the next Update.
    int alive;
    // The age at which the particle dies.
    float lifetime;
    // 0 at emission; grows by a tenth of the frame time per Update.
    float age;
    // The sprite's size ("P_size"); shrinks a little every Update.
    float size;
    // The sprite's tint ("K_diffuse").
    Color4 colour;
    // World position, and units per second.
    Vec3 position;
    Vec3 velocity;
};
