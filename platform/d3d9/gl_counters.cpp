// The frame counters and the stand-in controls that read them.
#include "gl_counters.h"

#include <time.h>

GlCounters g_glCounters;

std::uint64_t CounterNanoseconds() {
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::uint64_t(now.tv_sec) * 1000000000u + std::uint64_t(now.tv_nsec);
}

std::uint64_t ThreadCpuNanoseconds() {
    timespec now = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::uint64_t(now.tv_sec) * 1000000000u + std::uint64_t(now.tv_nsec);
}

namespace d3d9 {

void CountFrames(bool on) {
    g_glCounters.on = on;
    g_glCounters.frame = {};
}

FrameCounters TakeFrameCounters() {
    const FrameCounters taken = g_glCounters.frame;
    g_glCounters.frame = {};
    return taken;
}

}  // namespace d3d9
