// Drums and noises: kick, snare, hats, shaker, crash, risers and the
// faint crackle of an old record under everything.
#pragma once

#include <cstdint>

#include "tools/datakit/Instruments.h"

namespace datakit {

void PlayKick(const Route& route, double start, double velocity);
void PlaySnare(const Route& route, double start, double velocity, std::uint32_t seed);
// Metallic hat; open hats ring longer. A little of it is voiced around
// 850 Hz, where it reads as a soft shaker.
void PlayHat(const Route& route, double start, double velocity, bool open, std::uint32_t seed);
void PlayShaker(const Route& route, double start, double velocity, std::uint32_t seed);
void PlayCrash(const Route& route, double start, double velocity, std::uint32_t seed);
// Filtered noise sweeping up and swelling until `end`.
void PlayRiser(const Route& route, double start, double end, std::uint32_t seed);
void PlayCrackle(const Route& route, double start, double end, std::uint32_t seed);

}  // namespace datakit
