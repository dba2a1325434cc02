// One music stream: the file decoded (on the desktop ahead on its own thread,
// on the web by the browser before the stream exists), where it is heard,
// and the FFT of what is heard.
#pragma once

#include "platform/bass/DecodedPcm.h"
#include "platform/bass/PlayClock.h"
#include "platform/bass/SpectrumFft.h"

#include <bass.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace bass {

class Mp3Reader;

class Stream {
public:
    // Opens the MP3 bytes and starts decoding them to stereo at `rate`. In
    // capture mode the stream is heard only where SetHeardTime puts it.
    // Null with a BASS error code in `error` when that fails.
    static std::unique_ptr<Stream> Create(std::vector<unsigned char> bytes, int rate, bool capture,
                                          int& error);
    // A stream for music of `fileFrames` frames at `fileRate`, its store
    // allocated for them at `rate` and still empty: the decoder fills Pcm().
    // Null with a BASS error code in `error` when that fails.
    static std::unique_ptr<Stream> ForMusic(std::int64_t fileFrames, long fileRate, int rate,
                                            bool capture, int& error);
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Stops decoding early; what was decoded stays readable.
    void StopDecoding();

    PlayClock& Clock() { return clock_; }
    DecodedPcm& Pcm() { return pcm_; }
    // Output callback: mixes the next `frames` stereo frames into out.
    void MixInto(float* out, int frames, float gain, std::int64_t now);

    // BASS_ChannelGetData for an FFT of `size` samples: writes size / 2
    // magnitudes and returns the bytes written. In capture mode it first
    // waits for the decoder to reach the analysed samples.
    DWORD FetchSpectrum(int size, float* out);
    // The sum of the latest fetch's magnitudes, where the web page reads it.
    const float* FetchedSum() const { return &fetchedSum_; }

    // Capture mode only (false otherwise): where the stream is heard.
    bool SetHeardTime(double seconds);
    // Seconds at the output rate; exact once decoding has finished, which a
    // capture stream waits for.
    double Duration() const;

private:
    Stream(int rate, bool capture);
    void Decode(std::unique_ptr<Mp3Reader> reader);
    std::int64_t HeardFrame() const;

    const int rate_;
    const bool capture_;
    std::int64_t expectedFrames_ = 0;
    DecodedPcm pcm_;
    PlayClock clock_;
    std::atomic<bool> stopDecoding_{false};
    std::thread decoder_;
    std::atomic<std::int64_t> captureFrame_{0};
    std::mutex fetchMutex_;
    SpectrumFft fft_;
    float fetchedSum_ = 0.0f;
};

}  // namespace bass
