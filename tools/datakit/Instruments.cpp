// Pitched voices: oscillators, filters and envelopes per note.
#include "tools/datakit/Instruments.h"

#include <algorithm>
#include <cmath>

#include "tools/datakit/DetMath.h"
#include "tools/datakit/Filters.h"
#include "tools/datakit/Oscillators.h"
#include "tools/datakit/Random.h"

namespace datakit {
namespace {}  // namespace

std::size_t FrameAt(double seconds) {
    return seconds <= 0.0 ? 0 : static_cast<std::size_t>(seconds * kSampleRate + 0.5);
}

Route Route::Panned(double p) const {
    Route r = *this;
    double a = (Clamp(p, -1.0, 1.0) + 1.0) * kPi / 4.0;
    r.panLeft = Cos(a) * 1.41421356;
    r.panRight = Sin(a) * 1.41421356;
    return r;
}

void Route::Put(std::size_t frame, double sample) const {
    PutStereo(frame, sample * panLeft, sample * panRight);
}

void Route::PutStereo(std::size_t frame, double left, double right) const {
    if (dry == nullptr || frame >= dry->Frames()) {
        return;
    }
    left *= gain;
    right *= gain;
    dry->left[frame] += static_cast<float>(left);
    dry->right[frame] += static_cast<float>(right);
    if (reverb != nullptr && reverbSend > 0.0) {
        reverb->left[frame] += static_cast<float>(left * reverbSend);
        reverb->right[frame] += static_cast<float>(right * reverbSend);
    }
    if (delay != nullptr && delaySend > 0.0) {
        delay->left[frame] += static_cast<float>(left * delaySend);
        delay->right[frame] += static_cast<float>(right * delaySend);
    }
}

void PlayPad(const Route& route, const std::vector<int>& notes, double start, double held,
             double brightness, std::uint32_t seed) {
    const Adsr env{1.4, 1.0, 0.85, 1.0};
    Random rng(seed);
    // Three saws per note: left hears the lower two, right the upper two.
    std::vector<Saw> saws;
    std::vector<double> hz;
    const double detune[3] = {-0.09, 0.0, 0.08};
    for (int n : notes) {
        for (double d : detune) {
            saws.emplace_back(rng.Uniform());
            hz.push_back(MidiToHz(n + d));
        }
    }
    Svf filterL, filterR;
    const std::size_t first = FrameAt(start);
    const std::size_t count = FrameAt(env.Length(held));
    const double norm = 0.22 / std::sqrt(double(notes.size()));
    EnvelopePlayer envelope(env, held);
    for (std::size_t i = 0; i < count; ++i) {
        if (i % 32 == 0) {
            double t = double(i) / kSampleRate;
            double breath = 0.5 + 0.5 * Sin(kTwoPi * 0.11 * (start + t) + (seed % 16) * 0.4);
            double cutoff = brightness * (520.0 + 700.0 * breath) * (0.6 + 0.4 * env.At(t, held));
            filterL.Set(cutoff, 0.25);
            filterR.Set(cutoff * 1.07, 0.25);
        }
        double l = 0.0, r = 0.0;
        for (std::size_t k = 0; k < saws.size(); k += 3) {
            double a = saws[k].Next(hz[k]), b = saws[k + 1].Next(hz[k + 1]),
                   c = saws[k + 2].Next(hz[k + 2]);
            l += a + b;
            r += b + c;
        }
        double e = envelope.Next();
        route.PutStereo(first + i, filterL.Low(l) * norm * e, filterR.Low(r) * norm * e);
    }
}

void PlayBass(const Route& route, int note, double start, double held, double velocity) {
    const double hz = MidiToHz(note);
    const Adsr env{0.006, 0.25, 0.8, 0.06};
    Sine sub, second;
    Saw edge;
    Svf tone;
    tone.Set(240.0, 0.2);
    const std::size_t first = FrameAt(start), count = FrameAt(env.Length(held));
    EnvelopePlayer envelope(env, held);
    for (std::size_t i = 0; i < count; ++i) {
        double e = envelope.Next() * velocity;
        double x = sub.Next(hz) + 0.22 * second.Next(hz * 2.0) + 0.35 * tone.Low(edge.Next(hz));
        x = SoftClip(1.1 * x) * 0.85;
        route.Put(first + i, x * e);
    }
}

void PlayPluck(const Route& route, int note, double start, double velocity, double brightness) {
    const double hz = MidiToHz(note);
    Saw saw;
    Pulse pulse(0.3, 0.25);
    Svf filter;
    Decay amp(0.22), sweep(0.07);
    const std::size_t first = FrameAt(start), count = FrameAt(0.9);
    for (std::size_t i = 0; i < count; ++i) {
        double s = sweep.Next();
        if (i % 8 == 0) {
            filter.Set(hz * 1.2 + brightness * velocity * 3200.0 * s, 0.35);
        }
        double attack = std::min(1.0, double(i) / (0.002 * kSampleRate));
        double x = 0.6 * saw.Next(hz) + 0.4 * pulse.Next(hz * 1.0015);
        route.Put(first + i, filter.Low(x) * amp.Next() * attack * velocity * 0.5);
    }
}

void PlayLead(const Route& route, int note, double start, double held, double velocity) {
    const double hz = MidiToHz(note);
    const Adsr env{0.05, 0.4, 0.75, 0.35};
    Sine body, octave, vibrato;
    Saw breath;
    Svf soft;
    soft.Set(hz * 3.0, 0.1);
    const std::size_t first = FrameAt(start), count = FrameAt(env.Length(held));
    EnvelopePlayer envelope(env, held);
    for (std::size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        double e = envelope.Next();
        double depth = 0.006 * SmoothStep(0.25, 0.7, t);
        double f = hz * (1.0 + depth * vibrato.Next(5.2));
        double x = body.Next(f) + 0.18 * octave.Next(f * 2.0) + 0.12 * soft.Low(breath.Next(f));
        route.Put(first + i, x * e * velocity * 0.5);
    }
}

void PlayGlass(const Route& route, int note, double start, double held, double velocity) {
    const double hz = MidiToHz(note);
    const Adsr env{0.35, 1.2, 0.55, 1.4};
    Sine a, b, c, tremolo;
    const std::size_t first = FrameAt(start), count = FrameAt(env.Length(held));
    EnvelopePlayer envelope(env, held);
    for (std::size_t i = 0; i < count; ++i) {
        double e = envelope.Next();
        double shimmer = 1.0 + 0.12 * tremolo.Next(3.7);
        double x = a.Next(hz) + 0.25 * b.Next(hz * 2.0) + 0.08 * c.Next(hz * 3.01);
        route.Put(first + i, x * e * shimmer * velocity * 0.35);
    }
}

void PlayPulse(const Route& route, int note, double start, double velocity) {
    const double hz = MidiToHz(note);
    Sine a, b;
    Decay amp(0.16), overtone(0.05);
    const std::size_t first = FrameAt(start), count = FrameAt(0.7);
    for (std::size_t i = 0; i < count; ++i) {
        double attack = std::min(1.0, double(i) / (0.004 * kSampleRate));
        double x = a.Next(hz) + 0.35 * overtone.Next() * b.Next(hz * 2.0);
        route.Put(first + i, x * amp.Next() * attack * velocity * 0.45);
    }
}

}  // namespace datakit
