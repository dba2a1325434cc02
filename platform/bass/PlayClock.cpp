// The heard position of a stream from device callbacks or the wall clock.
#include "platform/bass/PlayClock.h"

#include <algorithm>
#include <chrono>

namespace bass {

std::int64_t MonotonicNanos() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void PlayClock::Play(Source source, bool fromStart, bool running, std::int64_t now,
                     std::int64_t startFrame) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (playing_ && !fromStart) {
        return;
    }
    position_ = fromStart ? startFrame : HeardLocked(now);
    playing_ = true;
    source_ = source;
    deviceFirst_ = position_;
    deviceCount_ = 0;
    deviceTime_ = now;
    running_ = running;
    runSince_ = now;
}

bool PlayClock::PlaysOnDevice() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return playing_ && source_ == Source::Device;
}

void PlayClock::Pause(std::int64_t now) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (source_ == Source::WallClock && running_) {
        position_ = HeardLocked(now);
        running_ = false;
    }
}

void PlayClock::Resume(std::int64_t now) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (source_ == Source::WallClock && !running_) {
        running_ = true;
        runSince_ = now;
    }
}

void PlayClock::LeaveDevice(std::int64_t now, bool running) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (source_ != Source::Device) {
        return;
    }
    position_ = HeardLocked(now);
    source_ = Source::WallClock;
    running_ = running;
    runSince_ = now;
}

std::int64_t PlayClock::ClaimForDevice(int count, std::int64_t now) {
    std::lock_guard<std::mutex> lock(mutex_);
    deviceFirst_ += deviceCount_;
    deviceCount_ = count;
    deviceTime_ = now;
    return deviceFirst_;
}

std::int64_t PlayClock::Heard(std::int64_t now) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return HeardLocked(now);
}

std::int64_t PlayClock::HeardLocked(std::int64_t now) const {
    if (!playing_) {
        return position_;
    }
    if (source_ == Source::WallClock) {
        if (!running_) {
            return position_;
        }
        return position_ + (now - runSince_) * rate_ / 1'000'000'000;
    }
    // When the callback handed over [first, first + count), the device began
    // playing the buffer before it; from there time moves the listener on,
    // never past what the device holds.
    const std::int64_t played = (now - deviceTime_) * rate_ / 1'000'000'000;
    const std::int64_t earliest = std::max(position_, deviceFirst_ - deviceCount_);
    return std::clamp(deviceFirst_ - deviceCount_ + played, earliest, deviceFirst_);
}

}  // namespace bass
