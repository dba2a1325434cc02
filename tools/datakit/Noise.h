// Lattice noises for painting and surfaces: value, gradient, fBm and
// Worley (cellular). A period > 0 makes the noise wrap after that many
// lattice cells on that axis, so tiles repeat without seams.
#pragma once

#include <cstdint>

namespace datakit {

struct Period {
    int x = 0;
    int y = 0;
};

// Smooth value noise in [0, 1].
double ValueNoise(double x, double y, std::uint32_t seed, Period period = {});
// Gradient (Perlin-style) noise, roughly in [-1, 1].
double GradientNoise(double x, double y, std::uint32_t seed, Period period = {});
double GradientNoise3(double x, double y, double z, std::uint32_t seed);

// Fractal sum of gradient noise: octaves at doubling frequency and halving
// amplitude, normalised to roughly [-1, 1]. The period doubles with the
// frequency, so a periodic fBm stays periodic.
double Fbm(double x, double y, int octaves, std::uint32_t seed, Period period = {},
           double gain = 0.5);
double Fbm3(double x, double y, double z, int octaves, std::uint32_t seed);
// fBm of |noise|: ridged, crease-like detail in [0, 1].
double Turbulence(double x, double y, int octaves, std::uint32_t seed, Period period = {});

struct Cells {
    double f1;         // distance to the nearest feature point
    double f2;         // distance to the second nearest
    std::uint32_t id;  // hash of the nearest point's cell
    double cx, cy;     // the nearest feature point
};
// One feature point per lattice cell, jittered by `jitter` (0..1).
Cells Worley(double x, double y, std::uint32_t seed, Period period = {}, double jitter = 1.0);

}  // namespace datakit
