// The capture clock's counts and the show clock the frame timer makes of
// them (double arithmetic, stored results rounded to 32-bit floats).
#include "app/capture/CaptureClock.h"

#include <cmath>

CaptureClock::CaptureClock(int fps, double from, std::int64_t countsPerSecond)
    : fps_(fps),
      from_(from),
      secondsPerCount_(static_cast<float>(1.0 / static_cast<double>(countsPerSecond))) {}

namespace {

// Where the count may move from the nearest count to hit the nearest float.
constexpr std::int64_t kSearch = 2;

}  // namespace

std::int64_t CaptureClock::CountAt(std::int64_t frame) const {
    const double target = from_ + static_cast<double>(frame) / static_cast<double>(fps_);
    const float wanted = static_cast<float>(target);
    const std::int64_t nearest = kStartCount + std::llround(target / secondsPerCount_);
    // Where floats lie closer together than a count, the nearest count may
    // round to a neighbour of the wanted float; a count or two aside hits it.
    for (std::int64_t step = 0; step <= kSearch; ++step) {
        if (ShowClockOfCount(nearest - step) == wanted) {
            return nearest - step;
        }
        if (ShowClockOfCount(nearest + step) == wanted) {
            return nearest + step;
        }
    }
    return nearest;
}

float CaptureClock::ShowClockAt(std::int64_t frame) const {
    return ShowClockOfCount(CountAt(frame));
}

// As the frame timer computes time since start: double arithmetic on the
// count and the float start count, rounded to a float.
float CaptureClock::ShowClockOfCount(std::int64_t count) const {
    const double start = static_cast<float>(kStartCount);
    return static_cast<float>((static_cast<double>(count) - start) * secondsPerCount_);
}

std::int64_t CaptureClock::FrameCount(double to, float showLength) const {
    // Compared as the show compares its clock: in 32-bit floats.
    const float last = static_cast<float>(to);
    std::int64_t frames = 0;
    while (ShowClockAt(frames) <= last && (frames == 0 || ShowClockAt(frames - 1) <= showLength)) {
        ++frames;
    }
    return frames;
}
