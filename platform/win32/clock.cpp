// The performance counter and the tick count: nanoseconds of the monotonic
// clock since the process started (plus what AdvanceClock added), or of a
// virtual clock that only
// SetVirtualClock moves (capture mode, tests).
#include <win32_standin.h>

#include <atomic>
#include <ctime>

namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1000000000;
constexpr std::int64_t kNanosecondsPerMillisecond = 1000000;

std::int64_t MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

// Taken when the library loads, so counts stay small and a 32-bit float of
// the first count is exact to well under a millisecond.
const std::int64_t g_processStart = MonotonicNanoseconds();

std::atomic<std::int64_t> g_advanced{0};
std::atomic<bool> g_virtual{false};
std::atomic<std::int64_t> g_virtualNanoseconds{0};
std::atomic<bool> g_counterAvailable{true};

std::int64_t Now() {
    if (g_virtual.load(std::memory_order_relaxed)) {
        return g_virtualNanoseconds.load(std::memory_order_relaxed);
    }
    return MonotonicNanoseconds() - g_processStart + g_advanced.load(std::memory_order_relaxed);
}

}  // namespace

namespace win32 {

void UseVirtualClock(bool on) {
    g_virtual.store(on, std::memory_order_relaxed);
}

void SetVirtualClock(std::int64_t nanoseconds) {
    g_virtualNanoseconds.store(nanoseconds, std::memory_order_relaxed);
}

std::int64_t VirtualClock() {
    return g_virtualNanoseconds.load(std::memory_order_relaxed);
}

void AdvanceClock(std::int64_t nanoseconds) {
    g_advanced.fetch_add(nanoseconds, std::memory_order_relaxed);
}

void SetPerformanceCounterAvailable(bool available) {
    g_counterAvailable.store(available, std::memory_order_relaxed);
}

}  // namespace win32

extern "C" {

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (frequency == nullptr) {
        return FALSE;
    }
    const bool available = g_counterAvailable.load(std::memory_order_relaxed);
    frequency->QuadPart = available ? kNanosecondsPerSecond : 0;
    return available ? TRUE : FALSE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (count == nullptr) {
        return FALSE;
    }
    const bool available = g_counterAvailable.load(std::memory_order_relaxed);
    count->QuadPart = available ? Now() : 0;
    return available ? TRUE : FALSE;
}

// Milliseconds in 32 bits: wraps after about 49.7 days, as on Win32.
DWORD WINAPI GetTickCount() {
    return static_cast<DWORD>(Now() / kNanosecondsPerMillisecond);
}

}  // extern "C"
