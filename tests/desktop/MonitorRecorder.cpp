// Reads 10 ms at a time. After each read, the newest sample read was
// captured the stream's latency ago (what is still buffered between the
// source and us); counting back the samples read gives the first one's time.
#include "tests/desktop/MonitorRecorder.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace hushtest {

namespace {

constexpr int kChannels = 2;
constexpr std::size_t kReadFrames = MonitorRecorder::kRate / 100;

}  // namespace

double SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

MonitorRecorder::MonitorRecorder(double seconds) : capacity_(std::size_t(seconds * kRate)) {
    samples_.reserve(capacity_);
    estimates_.reserve(capacity_ / kReadFrames + 1);
}

MonitorRecorder::~MonitorRecorder() {
    Stop();
}

bool MonitorRecorder::Start(const std::string& server, const char* source, std::string* failure) {
    const pa_sample_spec format = {PA_SAMPLE_S16LE, kRate, kChannels};
    pa_buffer_attr attributes{};
    attributes.maxlength = std::uint32_t(-1);
    attributes.fragsize = std::uint32_t(kReadFrames * kChannels * sizeof(std::int16_t));
    int error = 0;
    connection_ = pa_simple_new(server.c_str(), "hush tests", PA_STREAM_RECORD, source, "monitor",
                                &format, nullptr, &attributes, &error);
    if (connection_ == nullptr) {
        *failure = pa_strerror(error);
        return false;
    }
    thread_ = std::thread(&MonitorRecorder::Record, this);
    return true;
}

bool MonitorRecorder::WaitForSteadyReads(double seconds) const {
    using namespace std::chrono_literals;
    const double giveUp = SteadySeconds() + seconds;
    while (SteadySeconds() < giveUp) {
        const std::size_t before = reads_.load();
        std::this_thread::sleep_for(100ms);
        if (reads_.load() >= before + 5) {
            return true;
        }
    }
    return false;
}

void MonitorRecorder::Stop() {
    stop_.store(true);
    if (thread_.joinable()) {
        thread_.join();
    }
    if (connection_ != nullptr) {
        pa_simple_free(connection_);
        connection_ = nullptr;
    }
    if (!estimates_.empty()) {
        std::vector<double> sorted = estimates_;
        std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
        firstSampleTime_ = sorted[sorted.size() / 2];
    }
}

void MonitorRecorder::Record() {
    std::int16_t block[kReadFrames * kChannels];
    while (!stop_.load() && samples_.size() + kReadFrames <= capacity_) {
        int error = 0;
        if (pa_simple_read(connection_, block, sizeof block, &error) < 0) {
            return;
        }
        const double now = SteadySeconds();
        const pa_usec_t latency = pa_simple_get_latency(connection_, &error);
        for (std::size_t i = 0; i < kReadFrames; ++i) {
            samples_.push_back((float(block[2 * i]) + float(block[2 * i + 1])) / 65536.0f);
        }
        estimates_.push_back(now - double(latency) / 1e6 - double(samples_.size()) / kRate);
        reads_.fetch_add(1);
    }
}

}  // namespace hushtest
