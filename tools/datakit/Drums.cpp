// Drum synthesis: pitch-swept sines, shaped noise and metallic squares.
#include "tools/datakit/Drums.h"

#include <algorithm>
#include <cmath>

#include "tools/datakit/DetMath.h"
#include "tools/datakit/Filters.h"
#include "tools/datakit/Oscillators.h"

namespace datakit {

void PlayKick(const Route& route, double start, double velocity) {
    Sine body;
    Noise click(7);
    OnePole clickTone;
    clickTone.SetLowpass(2500.0);
    Decay sweep(0.028), fastSweep(0.005), amp(0.34), clickAmp(0.004);
    const std::size_t first = FrameAt(start), count = FrameAt(0.7);
    for (std::size_t i = 0; i < count; ++i) {
        double hz = 44.0 + 110.0 * sweep.Next() + 60.0 * fastSweep.Next();
        double attack = std::min(1.0, double(i) / (0.0015 * kSampleRate));
        double x = body.Next(hz) * amp.Next() * attack +
                   0.3 * clickTone.Low(click.Next()) * clickAmp.Next();
        route.Put(first + i, SoftClip(1.3 * x) * 0.95 * velocity);
    }
}

void PlaySnare(const Route& route, double start, double velocity, std::uint32_t seed) {
    Sine low, high;
    Noise noise(seed);
    Svf crack, clap;
    crack.Set(3200.0, 0.2);
    clap.Set(1300.0, 0.45);
    Decay bodyAmp(0.07), highAmp(0.045), noiseAmp(0.15), sweep(0.02);
    // Three quick bursts, as hands clapping a little apart.
    Decay bursts[3] = {Decay(0.006), Decay(0.006), Decay(0.006)};
    const std::size_t burstAt[3] = {0, FrameAt(0.009), FrameAt(0.019)};
    const std::size_t first = FrameAt(start), count = FrameAt(0.8);
    for (std::size_t i = 0; i < count; ++i) {
        double s = sweep.Next();
        double body = 0.5 * low.Next(185.0 + 70.0 * s) * bodyAmp.Next() +
                      0.22 * high.Next(330.0 + 60.0 * s) * highAmp.Next();
        double n = noise.Next();
        double burst = 0.0;
        for (int k = 0; k < 3; ++k) {
            if (i >= burstAt[k]) {
                burst += bursts[k].Next();
            }
        }
        double tail = noiseAmp.Next();
        double x = body + 0.55 * crack.Band(n) * tail + 0.7 * clap.Band(n) * (0.6 * burst + tail);
        route.Put(first + i, x * velocity * 0.8);
    }
}

void PlayHat(const Route& route, double start, double velocity, bool open, std::uint32_t seed) {
    static const double kRatios[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    Pulse squares[6] = {Pulse(0.5, 0.1), Pulse(0.5, 0.3), Pulse(0.5, 0.5),
                        Pulse(0.5, 0.7), Pulse(0.5, 0.2), Pulse(0.5, 0.9)};
    Noise noise(seed);
    Svf band, high, body;
    band.Set(9500.0, 0.3);
    high.Set(6500.0, 0.1);
    body.Set(860.0, 0.7);
    Decay amp(open ? 0.28 : 0.038), bodyAmp(open ? 0.12 : 0.03);
    const std::size_t first = FrameAt(start), count = FrameAt(open ? 1.1 : 0.18);
    for (std::size_t i = 0; i < count; ++i) {
        double metal = 0.0;
        for (int k = 0; k < 6; ++k) {
            metal += squares[k].Next(kRatios[k] * 1.6);
        }
        double n = noise.Next();
        double x = metal * 0.12 + n * 0.6;
        double bright = high.High(band.Band(x)) * amp.Next();
        double shaker = body.Band(n) * bodyAmp.Next() * 0.9;
        route.Put(first + i, (bright + shaker) * velocity * 0.7);
    }
}

void PlayShaker(const Route& route, double start, double velocity, std::uint32_t seed) {
    Noise noise(seed);
    Svf band;
    band.Set(5200.0, 0.4);
    Decay fall(0.03);
    const std::size_t first = FrameAt(start), count = FrameAt(0.12);
    for (std::size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        double env = std::min(1.0, t / 0.012) * fall.Next();
        route.Put(first + i, band.Band(noise.Next()) * env * velocity * 0.5);
    }
}

void PlayCrash(const Route& route, double start, double velocity, std::uint32_t seed) {
    Noise left(seed), right(seed + 1);
    Svf highL, highR;
    highL.Set(4200.0, 0.1);
    highR.Set(4600.0, 0.1);
    Decay amp(1.1);
    const std::size_t first = FrameAt(start), count = FrameAt(5.0);
    for (std::size_t i = 0; i < count; ++i) {
        double a = amp.Next() * velocity * 0.35;
        route.PutStereo(first + i, highL.High(left.Next()) * a, highR.High(right.Next()) * a);
    }
}

void PlayRiser(const Route& route, double start, double end, std::uint32_t seed) {
    Noise left(seed), right(seed + 1);
    Svf bandL, bandR;
    const double length = end - start;
    const std::size_t first = FrameAt(start), count = FrameAt(length);
    for (std::size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate / length;
        if (i % 16 == 0) {
            double hz = 250.0 * Pow(28.0, t);
            bandL.Set(hz, 0.55);
            bandR.Set(hz * 1.1, 0.55);
        }
        double a = t * t * 0.5;
        route.PutStereo(first + i, bandL.Band(left.Next()) * a, bandR.Band(right.Next()) * a);
    }
}

void PlayCrackle(const Route& route, double start, double end, std::uint32_t seed) {
    Noise noise(seed), hiss(seed + 3);
    OnePole tone, hissTone;
    tone.SetLowpass(3000.0);
    hissTone.SetLowpass(6000.0);
    const std::size_t first = FrameAt(start), count = FrameAt(end - start);
    double pop = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        // About eight pops a second, of random size.
        double r = noise.Next();
        if (r > 1.0 - 2.0 * 8.0 / kSampleRate) {
            pop = noise.Next();
        }
        double x = tone.Low(pop) + 0.02 * hissTone.High(hiss.Next());
        pop *= 0.6;
        route.Put(first + i, x * 0.05);
    }
}

}  // namespace datakit
