// Where a playing stream is heard, in frames at the output rate. A device's
// output callback moves it (compensating the buffer the device is playing),
// or, with no device, the wall clock does, so silent playback still keeps
// time.
#pragma once

#include <cstdint>
#include <mutex>

namespace bass {

// Nanoseconds of a monotonic clock.
std::int64_t MonotonicNanos();

class PlayClock {
public:
    enum class Source { Device, WallClock };

    explicit PlayClock(int rate) : rate_(rate) {}

    // Starts playing, from startFrame or from where it stopped. A wall clock
    // runs only while `running` (the output is started).
    void Play(Source source, bool fromStart, bool running, std::int64_t now,
              std::int64_t startFrame = 0);
    bool PlaysOnDevice() const;

    // The output was stopped or started again (wall clock only; a device
    // simply stops calling back).
    void Pause(std::int64_t now);
    void Resume(std::int64_t now);

    // The device went away: the wall clock takes over from where the
    // listener was, running while the output is started.
    void LeaveDevice(std::int64_t now, bool running);

    // Output callback: claims the next `count` frames to hand to the device
    // at `now` and returns the first of them.
    std::int64_t ClaimForDevice(int count, std::int64_t now);

    // The first frame the listener hears at `now`.
    std::int64_t Heard(std::int64_t now) const;

private:
    std::int64_t HeardLocked(std::int64_t now) const;

    const int rate_;
    mutable std::mutex mutex_;
    bool playing_ = false;
    Source source_ = Source::WallClock;
    // Frozen position while not playing (or while the wall clock is paused),
    // and where the current run of playback began.
    std::int64_t position_ = 0;
    // Device: the frames handed over by the latest callback and its time;
    // the listener hears the previous buffer while the device holds this one.
    std::int64_t deviceFirst_ = 0;
    std::int64_t deviceCount_ = 0;
    std::int64_t deviceTime_ = 0;
    // Wall clock.
    bool running_ = false;
    std::int64_t runSince_ = 0;
};

}  // namespace bass
