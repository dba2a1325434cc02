// The bench driver. Samples are stored in an array sized at start; the frame
// path reads clocks and counters only.
#include "app/bench/Bench.h"

#include "app/bench/BenchReport.h"
#include "app/capture/CaptureClock.h"
#include "app/capture/HeldClock.h"
#include "app/Timer.h"
#include "app/Window.h"
#include "device/DeviceSwitches.h"

#include <bass_standin.h>
#include <d3d9_standin.h>
#include <time.h>
#include <unistd.h>
#include <win32_standin.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// Frames at each time that are not counted: the software rasteriser
// compiles its shader variants when a state is first drawn.
constexpr int kWarmupFrames = 10;
constexpr int kBenchFps = 60;
// The back buffer's pixels, whatever the window.
constexpr double kFramePixels = 1024.0 * 768.0;

struct Bench {
    BenchSettings settings;
    std::vector<double> times;
    std::int64_t countsPerSecond = 0;
    std::vector<BenchSample> samples;  // times x frames
    std::size_t timeIndex = 0;
    int frame = 0;  // at the current time, warm-up frames included
    std::uint64_t frameStart = 0;
    std::uint64_t cpuStart = 0;
    std::uint64_t threadCpuStart = 0;
    double startupSeconds = -1.0;
    std::string loadBefore;
    int framesIntoWindow = 0;  // timed frames drawn straight into the window
    bool finished = false;
};

Bench g_bench;

std::uint64_t Nanoseconds(clockid_t clock) {
    timespec now = {};
    clock_gettime(clock, &now);
    return std::uint64_t(now.tv_sec) * 1000000000u + std::uint64_t(now.tv_nsec);
}

// Seconds since the process started, to the kernel's clock tick.
double SecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The command name may hold spaces; the fields after it are plain.
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) {
        return 0.0;
    }
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    // starttime is field 22; fields 3 onwards follow the name.
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    const double started = std::strtod(field.c_str(), nullptr) / double(sysconf(_SC_CLK_TCK));
    return double(Nanoseconds(CLOCK_BOOTTIME)) / 1e9 - started;
}

double PeakMemoryMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
        }
    }
    return 0.0;
}

std::string LoadAverage() {
    std::ifstream loadavg("/proc/loadavg");
    std::string one, five, fifteen;
    loadavg >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

void HoldClockAt(double t) {
    HoldShowClockAt(t, kBenchFps, g_bench.countsPerSecond);
}

bool BenchFrameDone() {
    Bench& bench = g_bench;
    const std::uint64_t now = Nanoseconds(CLOCK_MONOTONIC);
    const std::uint64_t cpuNow = Nanoseconds(CLOCK_PROCESS_CPUTIME_ID);
    const std::uint64_t threadCpuNow = Nanoseconds(CLOCK_THREAD_CPUTIME_ID);
    if (bench.startupSeconds < 0.0) {
        bench.startupSeconds = SecondsSinceProcessStart();
    }
    const d3d9::FrameCounters counters = d3d9::TakeFrameCounters();
    if (bench.frame >= kWarmupFrames) {
        bench.framesIntoWindow += int(counters.framesIntoWindow);
        BenchSample& sample = bench.samples[bench.timeIndex * std::size_t(bench.settings.frames) +
                                            std::size_t(bench.frame - kWarmupFrames)];
        sample.frameMs = double(now - bench.frameStart) / 1e6;
        sample.glMs = double(counters.glNanoseconds) / 1e6;
        sample.finishMs = double(counters.finishNanoseconds) / 1e6;
        sample.systemMs = sample.frameMs - sample.glMs - sample.finishMs;
        sample.cpuMs = double(cpuNow - bench.cpuStart) / 1e6;
        sample.systemCpuMs =
            double(threadCpuNow - bench.threadCpuStart - counters.glThreadCpuNanoseconds) / 1e6;
        sample.drawCalls = counters.drawCalls;
        sample.glDraws = counters.glDraws;
        sample.triangles = counters.triangles;
        sample.layers = double(counters.pixelsDrawn) / kFramePixels;
    }
    if (++bench.frame == kWarmupFrames + bench.settings.frames) {
        bench.frame = 0;
        if (++bench.timeIndex == bench.times.size()) {
            bench.finished = true;
            return false;
        }
    }
    HoldClockAt(bench.times[bench.timeIndex]);
    bench.frameStart = Nanoseconds(CLOCK_MONOTONIC);
    bench.cpuStart = Nanoseconds(CLOCK_PROCESS_CPUTIME_ID);
    bench.threadCpuStart = Nanoseconds(CLOCK_THREAD_CPUTIME_ID);
    return true;
}

}  // namespace

void StartBench(const BenchSettings& settings) {
    Bench& bench = g_bench;
    bench.settings = settings;
    bench.times = settings.at.empty() ? DefaultBenchTimes() : settings.at;
    bench.samples.assign(bench.times.size() * std::size_t(settings.frames), BenchSample{});
    LARGE_INTEGER frequency = {};
    QueryPerformanceFrequency(&frequency);
    bench.countsPerSecond = frequency.QuadPart;
    bench.loadBefore = LoadAverage();

    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    bass::SetCaptureMode(true);
    win32::UseVirtualClock(true);
    win32::SetVirtualClock(CaptureClock::kStartCount);
    g_frameDoneHook = &BenchFrameDone;
}

void BeginBenchFrames() {
    d3d9::CountFrames(true);
    HoldClockAt(g_bench.times[0]);
    g_bench.frameStart = Nanoseconds(CLOCK_MONOTONIC);
    g_bench.cpuStart = Nanoseconds(CLOCK_PROCESS_CPUTIME_ID);
    g_bench.threadCpuStart = Nanoseconds(CLOCK_THREAD_CPUTIME_ID);
}

int FinishBench(int showResult, std::ostream& out, std::ostream& err) {
    Bench& bench = g_bench;
    g_frameDoneHook = nullptr;
    d3d9::CountFrames(false);
    if (showResult != 0) {
        err << "hush: the bench stopped: the show could not start\n";
        return showResult;
    }
    if (!bench.finished) {
        err << "hush: the bench stopped before its last frame\n";
        return kBenchStoppedExitCode;
    }
    BenchResult result;
    result.frames = bench.settings.frames;
    result.warmupFrames = kWarmupFrames;
    result.batching = d3d9::BatchingDraws();
    result.skipClearDraws = ember::SwitchFromEnvironment(ember::kSkipClearDrawsVariable);
    result.chunkCulling = ember::SwitchFromEnvironment(ember::kCullChunksVariable);
    result.magnifiedFilter = ember::SwitchFromEnvironment(ember::kMagnifiedFilterVariable);
    result.mergedSteps = ember::SwitchFromEnvironment(ember::kMergeStraightStepsVariable);
    result.intoWindow =
        bench.framesIntoWindow == result.frames * int(bench.times.size()) && result.frames > 0;
    result.loadBefore = bench.loadBefore;
    result.loadAfter = LoadAverage();
    result.startupSeconds = bench.startupSeconds;
    result.peakMemoryMb = PeakMemoryMb();
    for (std::size_t i = 0; i < bench.times.size(); ++i) {
        const auto first = bench.samples.begin() + std::ptrdiff_t(i * std::size_t(result.frames));
        result.times.push_back(
            SummariseTime(bench.times[i], std::vector<BenchSample>(first, first + result.frames)));
    }
    if (bench.settings.json) {
        PrintBenchJson(result, out);
    } else {
        PrintBenchTable(result, out);
    }
    return 0;
}
