// The virtual clock of a capture: where QueryPerformanceCounter stands at
// each frame, so that frame k's show clock is T0 + k/N.
//
// The rule: start-up runs, and the frame timer is created, with the counter
// at kStartCount (1e9 counts of 1 ns; a 32-bit float holds it exactly, so the
// timer's float start count carries no rounding). The timer computes a show
// clock of float(c x s) from the counts c since then, s being its seconds
// per count (1e-9 rounded to a float). Before frame k's timer update the
// counter is moved to kStartCount + c_k, where, with T = T0 + k / N in double
// precision, c_k is round(T / s) or, when that count does not give
// float(T), the count closest to it (at most 2 away) that does. So frame
// k's show clock is exactly float(T0 + k / N), the float nearest the exact
// time, for every frame from 1/64 s on (and at 0); below 1/64 s floats lie
// closer together than a count and it is the nearest reachable value.
// Counts come from k, not from summed steps, so nothing drifts; the frame
// time is 1/N to within a few counts and a float rounding, and the first
// frame's is T0 (the whole time since the timer's creation).
#pragma once

#include <cstdint>

class CaptureClock {
public:
    static constexpr std::int64_t kStartCount = 1000000000;

    // countsPerSecond: what QueryPerformanceFrequency reports.
    CaptureClock(int fps, double from, std::int64_t countsPerSecond);

    std::int64_t CountAt(std::int64_t frame) const;
    // Frame k's show clock, computed as the frame timer computes it from
    // CountAt(k).
    float ShowClockAt(std::int64_t frame) const;

    // How many frames a capture writes: frame k is written when its show
    // clock does not pass `to` (as a 32-bit float) and the show has not ended before it (the
    // show's last frame is the first whose clock passes showLength).
    std::int64_t FrameCount(double to, float showLength) const;

    int Fps() const { return fps_; }

private:
    float ShowClockOfCount(std::int64_t count) const;

    int fps_;
    double from_;
    double secondsPerCount_;
};
