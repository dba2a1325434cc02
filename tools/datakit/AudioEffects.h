// Bus effects for the mix: a Freeverb-style hall, a tempo-locked ping-pong
// delay and the kick's side-chain ducking.
#pragma once

#include <vector>

#include "tools/datakit/Instruments.h"

namespace datakit {

struct ReverbSettings {
    double roomSize = 0.86;   // comb feedback, 0..1
    double damping = 0.45;    // high-frequency loss in the tail, 0..1
    double preDelay = 0.025;  // seconds
    double lowCut = 220.0;    // Hz; keeps the tail clear of the bass
};
// Replaces the send bus with the reverb's fully wet output.
void ApplyReverb(Stereo& bus, const ReverbSettings& settings);

// Replaces the send bus with its echoes: left and right alternate, each
// repeat darker and quieter by `feedback`.
void ApplyPingPongDelay(Stereo& bus, double seconds, double feedback);

// A gain curve that dips after every kick and recovers over `release`.
std::vector<float> DuckingCurve(std::size_t frames, const std::vector<double>& kicks, double depth,
                                double release);
void ApplyGain(Stereo& bus, const std::vector<float>& gain);

}  // namespace datakit
