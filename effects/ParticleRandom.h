// The particle systems' random draws: a 32-bit linear congruential
// generator whose state, read as unsigned and divided by 2^32, is the draw.
#pragma once

#include <cstdint>

class ParticleRandom {
public:
    explicit ParticleRandom(std::uint32_t seed) : state_(seed) {}

    // A value from 0 to 1: the new state / 2^32, rounded to single (so a
    // state just below 2^32 gives 1).
    float Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<float>(static_cast<double>(state_) / 4294967296.0);
    }

private:
    std::uint32_t state_;
};
