// A stream: its decoded music, playback position and analysis.
#include "platform/bass/Stream.h"

#include <cmath>
#include <new>

namespace bass {

namespace {

// The whole stream is decoded into memory: a file that would decode to more
// than an hour (635 MB of 16-bit stereo at 44.1 kHz) is refused before its
// buffer is allocated. A tiny file of low-rate frames could otherwise ask for
// hundreds of times its own size.
constexpr std::int64_t kMaxSeconds = 3600;

}  // namespace

Stream::Stream(int rate, bool capture) : rate_(rate), capture_(capture), clock_(rate) {}

std::unique_ptr<Stream> Stream::ForMusic(std::int64_t fileFrames, long fileRate, int rate,
                                         bool capture, int& error) {
    std::unique_ptr<Stream> stream;
    try {
        stream.reset(new Stream(rate, capture));
    } catch (const std::bad_alloc&) {
        error = BASS_ERROR_MEM;
        return nullptr;
    }
    if (fileFrames > kMaxSeconds * fileRate) {
        error = BASS_ERROR_MEM;
        return nullptr;
    }
    stream->expectedFrames_ = (fileFrames * rate + fileRate - 1) / fileRate;
    if (!stream->pcm_.Allocate(stream->expectedFrames_)) {
        error = BASS_ERROR_MEM;
        return nullptr;
    }
    error = BASS_OK;
    return stream;
}

Stream::~Stream() {
    StopDecoding();
    if (decoder_.joinable()) {
        decoder_.join();
    }
}

void Stream::StopDecoding() {
    stopDecoding_.store(true);
}

void Stream::MixInto(float* out, int frames, float gain, std::int64_t now) {
    pcm_.MixInto(out, clock_.ClaimForDevice(frames, now), frames, gain);
}

std::int64_t Stream::HeardFrame() const {
    return capture_ ? captureFrame_.load() : clock_.Heard(MonotonicNanos());
}

DWORD Stream::FetchSpectrum(int size, float* out) {
    const std::int64_t first = HeardFrame();
    if (capture_) {
        pcm_.WaitFor(first + size);
    }
    std::lock_guard<std::mutex> lock(fetchMutex_);
    pcm_.ReadMono(first, size, fft_.Input());
    fft_.Magnitudes(size, out);
    float sum = 0.0f;
    for (int k = 0; k < size / 2; ++k) {
        sum += out[k];
    }
    fetchedSum_ = sum;
    return static_cast<DWORD>(size / 2 * sizeof(float));
}

bool Stream::SetHeardTime(double seconds) {
    if (!capture_) {
        return false;
    }
    captureFrame_.store(std::llround(seconds * rate_));
    return true;
}

double Stream::Duration() const {
    if (capture_) {
        pcm_.WaitFor(INT64_MAX);
    }
    const std::int64_t frames = pcm_.Finished() ? pcm_.Decoded() : expectedFrames_;
    return static_cast<double>(frames) / rate_;
}

}  // namespace bass
