// The decoded music of one stream: stereo 16-bit frames at the output rate
// (half the memory of floats, and what the music holds anyway), filled
// progressively by a decoder (the desktop's thread, or the browser's decoded
// planes on the web) and read, as floats in [-1, 1], by the
// output callback and the FFT at the same time. Frames not yet decoded read
// as silence.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

namespace bass {

class DecodedPcm {
public:
    static constexpr int kChannels = 2;
    using Sample = std::int16_t;
    // What a stored sample is multiplied by to read it as a float.
    static constexpr float kScale = 1.0f / 32767.0f;

    // False when the memory cannot be had.
    bool Allocate(std::int64_t capacityFrames);

    // Decoder side: room after the decoded frames, then publishing them.
    Sample* Tail() { return samples_.get() + decoded_.load(std::memory_order_relaxed) * kChannels; }
    std::int64_t Room() const { return capacity_ - decoded_.load(std::memory_order_relaxed); }
    void Commit(std::int64_t frames);
    // Appends float planes (`right` may be `left` for mono), each sample
    // stored as the desktop's converter stores it, and publishes them. What
    // does not fit is dropped.
    void Append(const float* left, const float* right, std::int64_t frames);
    // A float sample as the desktop's converter (SDL's, vectorised) makes it
    // 16-bit: clamped to [-1, 1], scaled by 32767, rounded to nearest even.
    static Sample ToSample(float value);
    // No more frames will come (the file ended, failed or decoding stopped).
    void Finish();

    std::int64_t Decoded() const { return decoded_.load(std::memory_order_acquire); }
    bool Finished() const { return finished_.load(std::memory_order_acquire); }
    // Blocks until `frames` frames are decoded or decoding has finished.
    void WaitFor(std::int64_t frames) const;

    // Adds frames [first, first + count) times gain to interleaved stereo.
    void MixInto(float* out, std::int64_t first, int count, float gain) const;
    // Writes the mono mix of frames [first, first + count).
    void ReadMono(std::int64_t first, int count, float* out) const;

private:
    std::unique_ptr<Sample[]> samples_;
    std::int64_t capacity_ = 0;
    std::atomic<std::int64_t> decoded_{0};
    std::atomic<bool> finished_{false};
    mutable std::mutex progressMutex_;
    mutable std::condition_variable progress_;
};

}  // namespace bass
