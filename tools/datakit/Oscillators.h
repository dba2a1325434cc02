// Oscillators and envelopes for the music synthesiser. Phases run in
// cycles (0..1); all tables come from DetMath so the audio is bit-exact.
#pragma once

#include <cstdint>
#include <vector>

namespace datakit {

inline constexpr int kSampleRate = 44100;

// One sine cycle in a table, read with linear interpolation.
double SineCycle(double phase);

// Band-limited sawtooth (polyBLEP) in [-1, 1].
class Saw {
public:
    explicit Saw(double phase = 0.0) : phase_(phase) {}
    double Next(double hz);

private:
    double phase_;
};

// Band-limited pulse wave of the given width (polyBLEP).
class Pulse {
public:
    explicit Pulse(double width, double phase = 0.0) : width_(width), phase_(phase) {}
    double Next(double hz);

private:
    double width_, phase_;
};

class Sine {
public:
    explicit Sine(double phase = 0.0) : phase_(phase) {}
    double Next(double hz);

private:
    double phase_;
};

// White noise in [-1, 1] from a seeded xorshift.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed ? seed : 1U) {}
    double Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return double(state_) * (2.0 / 4294967295.0) - 1.0;
    }

private:
    std::uint32_t state_;
};

// Attack-decay-sustain-release envelope evaluated at time t (seconds) for
// a note held `held` seconds; attack linear, the rest exponential.
struct Adsr {
    double attack = 0.005, decay = 0.1, sustain = 1.0, release = 0.1;
    double At(double t, double held) const;
    // Seconds until the envelope has faded out.
    double Length(double held) const { return held + release * 4.0; }
};

// Plays an Adsr sample by sample; the curve is evaluated every few samples
// and interpolated in between, which is inaudible and much cheaper.
class EnvelopePlayer {
public:
    EnvelopePlayer(const Adsr& adsr, double held) : adsr_(adsr), held_(held) {}
    double Next();

private:
    static constexpr int kStride = 32;
    Adsr adsr_;
    double held_;
    long sample_ = 0;
    double from_ = 0.0, to_ = 0.0;
};

// Gentle saturation: cubic up to |x| = 1.5, flat beyond.
inline double SoftClip(double x) {
    if (x > 1.5) {
        return 1.0;
    }
    if (x < -1.5) {
        return -1.0;
    }
    return x - x * x * x * (4.0 / 27.0);
}

// exp(-t / tau) by repeated multiplication: cheap per-sample decays.
class Decay {
public:
    explicit Decay(double tau);
    double Next() {
        double v = value_;
        value_ *= factor_;
        return v;
    }

private:
    double value_ = 1.0, factor_;
};

}  // namespace datakit
