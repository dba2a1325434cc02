// Comb/all-pass reverb, feedback delay and ducking.
#include "tools/datakit/AudioEffects.h"

#include <algorithm>

#include "tools/datakit/DetMath.h"
#include "tools/datakit/Filters.h"
#include "tools/datakit/Oscillators.h"

namespace datakit {
namespace {

class Comb {
public:
    explicit Comb(std::size_t length) : buffer_(length, 0.0) {}
    double Process(double x, double feedback, double damp) {
        double out = buffer_[pos_];
        store_ = out * (1.0 - damp) + store_ * damp;
        buffer_[pos_] = x + store_ * feedback;
        pos_ = (pos_ + 1) % buffer_.size();
        return out;
    }

private:
    std::vector<double> buffer_;
    std::size_t pos_ = 0;
    double store_ = 0.0;
};

class AllPass {
public:
    explicit AllPass(std::size_t length) : buffer_(length, 0.0) {}
    double Process(double x) {
        double delayed = buffer_[pos_];
        double out = delayed - x;
        buffer_[pos_] = x + delayed * 0.5;
        pos_ = (pos_ + 1) % buffer_.size();
        return out;
    }

private:
    std::vector<double> buffer_;
    std::size_t pos_ = 0;
};

// One channel of the reverb; `spread` offsets the right channel's lengths.
std::vector<float> ReverbChannel(const std::vector<float>& in, const ReverbSettings& s,
                                 std::size_t spread) {
    // Freeverb's tunings, scaled from 44.1 kHz.
    const std::size_t combLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    const std::size_t allPassLengths[4] = {556, 441, 341, 225};
    std::vector<Comb> combs;
    for (std::size_t l : combLengths) {
        combs.emplace_back(l + spread);
    }
    std::vector<AllPass> allPasses;
    for (std::size_t l : allPassLengths) {
        allPasses.emplace_back(l + spread);
    }
    const std::size_t pre = FrameAt(s.preDelay);
    const double feedback = 0.7 + 0.28 * s.roomSize;
    const double damp = s.damping * 0.4;
    Svf lowCut;
    lowCut.Set(s.lowCut, 0.0);
    std::vector<float> out(in.size(), 0.0f);
    for (std::size_t i = 0; i < in.size(); ++i) {
        double x = i >= pre ? lowCut.High(in[i - pre]) * 0.015 : 0.0;
        double sum = 0.0;
        for (Comb& c : combs) {
            sum += c.Process(x, feedback, damp);
        }
        for (AllPass& a : allPasses) {
            sum = a.Process(sum);
        }
        out[i] = static_cast<float>(sum);
    }
    return out;
}

}  // namespace

void ApplyReverb(Stereo& bus, const ReverbSettings& settings) {
    std::vector<float> left = ReverbChannel(bus.left, settings, 0);
    std::vector<float> right = ReverbChannel(bus.right, settings, 23);
    bus.left.swap(left);
    bus.right.swap(right);
}

void ApplyPingPongDelay(Stereo& bus, double seconds, double feedback) {
    const std::size_t length = FrameAt(seconds);
    std::vector<double> lineL(length, 0.0), lineR(length, 0.0);
    OnePole darkL, darkR, thinL, thinR;
    darkL.SetLowpass(2800.0);
    darkR.SetLowpass(2800.0);
    thinL.SetLowpass(250.0);
    thinR.SetLowpass(250.0);
    std::size_t pos = 0;
    for (std::size_t i = 0; i < bus.Frames(); ++i) {
        double outL = lineL[pos], outR = lineR[pos];
        double mono = 0.5 * (bus.left[i] + bus.right[i]);
        // The input enters on the left; each echo crosses to the other side.
        double fbL = darkL.Low(outR), fbR = darkR.Low(outL);
        lineL[pos] = mono + (fbL - thinL.Low(fbL)) * feedback;
        lineR[pos] = (fbR - thinR.Low(fbR)) * feedback;
        pos = (pos + 1) % length;
        bus.left[i] = static_cast<float>(outL);
        bus.right[i] = static_cast<float>(outR);
    }
}

std::vector<float> DuckingCurve(std::size_t frames, const std::vector<double>& kicks, double depth,
                                double release) {
    std::vector<float> gain(frames, 1.0f);
    const std::size_t span = FrameAt(release * 5.0);
    const std::size_t attack = FrameAt(0.004);
    for (double k : kicks) {
        std::size_t first = FrameAt(k);
        Decay fall(release);
        for (std::size_t i = 0; i < span && first + i < frames; ++i) {
            double dip = depth * fall.Next() * std::min(1.0, double(i + 1) / attack);
            float g = static_cast<float>(1.0 - dip);
            gain[first + i] = std::min(gain[first + i], g);
        }
    }
    return gain;
}

void ApplyGain(Stereo& bus, const std::vector<float>& gain) {
    for (std::size_t i = 0; i < bus.Frames(); ++i) {
        bus.left[i] *= gain[i];
        bus.right[i] *= gain[i];
    }
}

}  // namespace datakit
