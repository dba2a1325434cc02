// A private PulseAudio daemon for the sound tests: its own runtime folder
// and socket, one null sink (44.1 kHz stereo) as the default output, whose
// monitor source hears what is played.
#pragma once

#include <memory>
#include <string>

namespace hushtest {

class PulseServer {
public:
    // The null sink's monitor: what the sink plays, as it plays it.
    static constexpr const char* kMonitor = "hush_sink.monitor";

    // Null, with the reason (the daemon's own words) in failure, when the
    // daemon does not start.
    static std::unique_ptr<PulseServer> Start(std::string* failure);
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    // For PULSE_SERVER.
    std::string Address() const { return "unix:" + Socket(); }

private:
    PulseServer() = default;
    std::string Socket() const { return folder_ + "/native"; }

    std::string folder_;
    int pid_ = -1;
};

}  // namespace hushtest
