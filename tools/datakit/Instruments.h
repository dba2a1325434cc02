// The music's voices. Each Play call renders one note into its route's
// buses, starting at a time in seconds; everything is additive, so notes
// overlap freely.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace datakit {

struct Stereo {
    explicit Stereo(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    std::size_t Frames() const { return left.size(); }
    std::vector<float> left, right;
};

// Where a voice sounds: a dry bus with gain and pan (-1 left .. 1 right),
// and how much of it is sent to the reverb and the delay buses.
struct Route {
    Stereo* dry = nullptr;
    Stereo* reverb = nullptr;
    Stereo* delay = nullptr;
    double gain = 1.0;
    double reverbSend = 0.0;
    double delaySend = 0.0;
    // Equal-power pan gains; centre by default.
    double panLeft = 1.0, panRight = 1.0;

    // The same route panned to p in [-1, 1].
    Route Panned(double p) const;
    Route Scaled(double g) const {
        Route r = *this;
        r.gain *= g;
        return r;
    }
    void Put(std::size_t frame, double sample) const;
    void PutStereo(std::size_t frame, double left, double right) const;
};

std::size_t FrameAt(double seconds);

// Detuned saw chord through a slowly breathing low-pass.
void PlayPad(const Route& route, const std::vector<int>& notes, double start, double held,
             double brightness, std::uint32_t seed);
// Sine sub with a little filtered saw on top for definition.
void PlayBass(const Route& route, int note, double start, double held, double velocity);
// Short plucked saw/pulse with a snapping filter: the arpeggio.
void PlayPluck(const Route& route, int note, double start, double velocity, double brightness);
// A soft, singing lead with delayed vibrato.
void PlayLead(const Route& route, int note, double start, double held, double velocity);
// A glassy bell-pad of sines, high above the chords.
void PlayGlass(const Route& route, int note, double start, double held, double velocity);
// A muted, heartbeat-like tone for the opening pulse.
void PlayPulse(const Route& route, int note, double start, double velocity);

}  // namespace datakit
