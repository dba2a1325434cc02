// Records a PulseAudio source on a thread of its own, as mono floats at
// 44.1 kHz, and keeps when its first sample was captured on the monotonic
// clock (std::chrono::steady_clock), the clock the show's audio uses too.
#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

struct pa_simple;

namespace hushtest {

class MonitorRecorder {
public:
    static constexpr int kRate = 44100;

    // Room for this many seconds; recording stops when they are full.
    explicit MonitorRecorder(double seconds);
    ~MonitorRecorder();
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    // False, with PulseAudio's reason in failure, when the source cannot be
    // opened.
    bool Start(const std::string& server, const char* source, std::string* failure);
    // Waits until reads come about every 10 ms; false if they do not
    // within `seconds`. An idle null sink renders (and so feeds its
    // monitor) once in up to two seconds and only takes up this stream's
    // 10 ms at its next render; a stream started before then waits for that
    // render, so the show must start after it.
    bool WaitForSteadyReads(double seconds) const;
    void Stop();

    // Once stopped.
    const std::vector<float>& Samples() const { return samples_; }
    // Steady-clock seconds at which Samples()[0] was captured.
    double FirstSampleTime() const { return firstSampleTime_; }

private:
    void Record();

    pa_simple* connection_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<std::size_t> reads_{0};
    std::vector<float> samples_;
    std::size_t capacity_;
    // Each read's estimate of the first sample's time; their median is kept.
    std::vector<double> estimates_;
    double firstSampleTime_ = 0.0;
};

double SteadySeconds();

}  // namespace hushtest
