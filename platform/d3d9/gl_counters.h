// Where a frame's time goes inside the OpenGL backend, for benchmarks: time
// spent in the calls that issue OpenGL commands, Present's wait for the
// frame to be drawn, and draw counts. Off, each counted call costs one test
// of a flag.
#pragma once

#include <d3d9_standin.h>

#include <cstdint>

struct GlCounters {
    bool on = false;
    // Nesting depth of the timed calls: only the outermost one is timed.
    int depth = 0;
    d3d9::FrameCounters frame;
};

extern GlCounters g_glCounters;

std::uint64_t CounterNanoseconds();
std::uint64_t ThreadCpuNanoseconds();

// Times the call it lives in as OpenGL submission.
class GlTimeScope {
public:
    GlTimeScope() : counted_(g_glCounters.on) {
        if (counted_ && g_glCounters.depth++ == 0) {
            start_ = CounterNanoseconds();
            cpuStart_ = ThreadCpuNanoseconds();
        }
    }
    ~GlTimeScope() {
        if (counted_ && --g_glCounters.depth == 0) {
            g_glCounters.frame.glNanoseconds += CounterNanoseconds() - start_;
            g_glCounters.frame.glThreadCpuNanoseconds += ThreadCpuNanoseconds() - cpuStart_;
        }
    }
    GlTimeScope(const GlTimeScope&) = delete;
    GlTimeScope& operator=(const GlTimeScope&) = delete;

private:
    bool counted_;
    std::uint64_t start_ = 0;
    std::uint64_t cpuStart_ = 0;
};
