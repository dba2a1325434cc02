// Table sine, polyBLEP saw and pulse, ADSR and exponential decays.
#include "tools/datakit/Oscillators.h"

#include <cmath>

#include "tools/datakit/DetMath.h"

namespace datakit {
namespace {

constexpr int kTableSize = 4096;

const std::vector<double>& SineTable() {
    static const std::vector<double> table = [] {
        std::vector<double> t(kTableSize + 1);
        for (int i = 0; i <= kTableSize; ++i) {
            t[i] = Sin(kTwoPi * i / kTableSize);
        }
        return t;
    }();
    return table;
}

// The polyBLEP correction around a discontinuity at phase 0.
double Blep(double phase, double dt) {
    if (phase < dt) {
        double t = phase / dt;
        return t + t - t * t - 1.0;
    }
    if (phase > 1.0 - dt) {
        double t = (phase - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double Wrap01(double p) {
    return p - std::floor(p);
}

}  // namespace

double SineCycle(double phase) {
    const std::vector<double>& table = SineTable();
    double x = Wrap01(phase) * kTableSize;
    int i = static_cast<int>(x);
    double f = x - i;
    return table[i] + (table[i + 1] - table[i]) * f;
}

double Saw::Next(double hz) {
    double dt = hz / kSampleRate;
    double out = 2.0 * phase_ - 1.0 - Blep(phase_, dt);
    phase_ = Wrap01(phase_ + dt);
    return out;
}

double Pulse::Next(double hz) {
    double dt = hz / kSampleRate;
    double out =
        (phase_ < width_ ? 1.0 : -1.0) + Blep(phase_, dt) - Blep(Wrap01(phase_ - width_ + 1.0), dt);
    phase_ = Wrap01(phase_ + dt);
    return out;
}

double Sine::Next(double hz) {
    double out = SineCycle(phase_);
    phase_ = Wrap01(phase_ + hz / kSampleRate);
    return out;
}

double Adsr::At(double t, double held) const {
    auto level = [&](double x) {
        if (x < attack) {
            return x / attack;
        }
        return sustain + (1.0 - sustain) * Exp(-(x - attack) / decay);
    };
    if (t < 0.0) {
        return 0.0;
    }
    if (t < held) {
        return level(t);
    }
    return level(held) * Exp(-(t - held) / release);
}

double EnvelopePlayer::Next() {
    long phase = sample_ % kStride;
    if (phase == 0) {
        double t = double(sample_) / kSampleRate;
        from_ = adsr_.At(t, held_);
        to_ = adsr_.At(t + double(kStride) / kSampleRate, held_);
    }
    ++sample_;
    return from_ + (to_ - from_) * double(phase) / kStride;
}

Decay::Decay(double tau) : factor_(Exp(-1.0 / (tau * kSampleRate))) {}

}  // namespace datakit
