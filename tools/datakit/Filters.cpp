// Zavalishin's topology-preserving state-variable filter.
#include "tools/datakit/Filters.h"

#include "tools/datakit/DetMath.h"
#include "tools/datakit/Oscillators.h"

namespace datakit {

void Svf::Set(double hz, double resonance) {
    hz = Clamp(hz, 10.0, kSampleRate * 0.45);
    g_ = Tan(kPi * hz / kSampleRate);
    k_ = 2.0 - 2.0 * Clamp(resonance, 0.0, 0.98);
    a1_ = 1.0 / (1.0 + g_ * (g_ + k_));
    a2_ = g_ * a1_;
    a3_ = g_ * a2_;
}

Svf::Out Svf::Process(double x) {
    double v3 = x - ic2_;
    double v1 = a1_ * ic1_ + a2_ * v3;
    double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0 * v1 - ic1_;
    ic2_ = 2.0 * v2 - ic2_;
    return {v2, v1, x - k_ * v1 - v2};
}

void OnePole::SetLowpass(double hz) {
    a_ = 1.0 - Exp(-kTwoPi * hz / kSampleRate);
}

}  // namespace datakit
