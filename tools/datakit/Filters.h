// Filters for the synthesiser: a state-variable filter (trapezoidal, stable
// under fast cutoff sweeps) and a one-pole smoother.
#pragma once

namespace datakit {

class Svf {
public:
    struct Out {
        double low, band, high;
    };
    // resonance: 0 = none, towards 1 = self-oscillation.
    void Set(double hz, double resonance);
    Out Process(double x);
    double Low(double x) { return Process(x).low; }
    double Band(double x) { return Process(x).band; }
    double High(double x) { return Process(x).high; }

private:
    double g_ = 0.1, k_ = 1.4, a1_ = 0.0, a2_ = 0.0, a3_ = 0.0;
    double ic1_ = 0.0, ic2_ = 0.0;
};

class OnePole {
public:
    void SetLowpass(double hz);
    double Low(double x) {
        state_ += a_ * (x - state_);
        return state_;
    }
    double High(double x) { return x - Low(x); }

private:
    double a_ = 1.0, state_ = 0.0;
};

}  // namespace datakit
