// The decoded music buffer: the decoder publishes frames with a release
// store, readers see only what was published.
#include "platform/bass/DecodedPcm.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace bass {

bool DecodedPcm::Allocate(std::int64_t capacityFrames) {
    samples_.reset(new (std::nothrow) Sample[static_cast<std::size_t>(capacityFrames) * kChannels]);
    capacity_ = samples_ != nullptr ? capacityFrames : 0;
    return samples_ != nullptr;
}

void DecodedPcm::Commit(std::int64_t frames) {
    decoded_.store(decoded_.load(std::memory_order_relaxed) + frames, std::memory_order_release);
    // Taking the lock orders this wake-up after a waiter's test of the count.
    std::lock_guard<std::mutex> lock(progressMutex_);
    progress_.notify_all();
}

DecodedPcm::Sample DecodedPcm::ToSample(float value) {
    return static_cast<Sample>(std::lrint(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
}

void DecodedPcm::Append(const float* left, const float* right, std::int64_t frames) {
    const std::int64_t count = std::min(frames, Room());
    Sample* out = Tail();
    for (std::int64_t i = 0; i < count; ++i) {
        out[i * kChannels] = ToSample(left[i]);
        out[i * kChannels + 1] = ToSample(right[i]);
    }
    Commit(count);
}

void DecodedPcm::Finish() {
    finished_.store(true, std::memory_order_release);
    std::lock_guard<std::mutex> lock(progressMutex_);
    progress_.notify_all();
}

void DecodedPcm::WaitFor(std::int64_t frames) const {
    std::unique_lock<std::mutex> lock(progressMutex_);
    progress_.wait(lock, [&] { return Finished() || Decoded() >= frames; });
}

void DecodedPcm::MixInto(float* out, std::int64_t first, int count, float gain) const {
    const std::int64_t begin = std::max<std::int64_t>(first, 0);
    const std::int64_t end = std::min<std::int64_t>(first + count, Decoded());
    for (std::int64_t frame = begin; frame < end; ++frame) {
        const Sample* in = samples_.get() + frame * kChannels;
        float* mixed = out + (frame - first) * kChannels;
        mixed[0] += float(in[0]) * kScale * gain;
        mixed[1] += float(in[1]) * kScale * gain;
    }
}

void DecodedPcm::ReadMono(std::int64_t first, int count, float* out) const {
    const std::int64_t decoded = Decoded();
    for (int i = 0; i < count; ++i) {
        const std::int64_t frame = first + i;
        if (frame < 0 || frame >= decoded) {
            out[i] = 0.0f;
        } else {
            const Sample* in = samples_.get() + frame * kChannels;
            out[i] = (float(in[0]) * kScale + float(in[1]) * kScale) * 0.5f;
        }
    }
}

}  // namespace bass
