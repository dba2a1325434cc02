// Seeded random numbers: a hash for noise lattices and a small generator
// for sequences. Every generator in the kit draws from fixed seeds.
#pragma once

#include <cstdint>

namespace datakit {

inline std::uint32_t Hash32(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

inline std::uint32_t Hash2(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    return Hash32(static_cast<std::uint32_t>(x) * 0x8da6b343U ^
                  Hash32(static_cast<std::uint32_t>(y) * 0xd8163841U ^ seed));
}

inline std::uint32_t Hash3(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed) {
    return Hash2(x, y, Hash32(static_cast<std::uint32_t>(z) * 0xcb1ab31fU ^ seed));
}

// Maps a hash to [0, 1).
inline double Unit(std::uint32_t h) {
    return double(h >> 8) * (1.0 / 16777216.0);
}

// xorshift64* sequence generator.
class Random {
public:
    explicit Random(std::uint64_t seed)
        : state_(seed * 0x9E3779B97F4A7C15ULL + 0x632BE59BD9B4E019ULL) {
        if (state_ == 0) {
            state_ = 1;
        }
    }
    std::uint64_t Next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1DULL;
    }
    // Uniform in [0, 1).
    double Uniform() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }
    double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }
    int Int(int count) { return static_cast<int>(Uniform() * count); }
    // Roughly normal: the sum of four uniforms, centred and scaled.
    double Gaussian() {
        return (Uniform() + Uniform() + Uniform() + Uniform() - 2.0) * 1.7320508075688772;
    }

private:
    std::uint64_t state_;
};

}  // namespace datakit
