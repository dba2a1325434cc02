// The benchmark's times and figures: per-frame samples summed up into medians and 95th
// percentiles, and printed as a table or as one JSON object.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// One timed frame, in milliseconds of real time.
struct BenchSample {
    double frameMs = 0.0;
    // The frame less the OpenGL submission and the wait: the show's own
    // work and the stand-ins' bookkeeping.
    double systemMs = 0.0;
    // The main thread's CPU time outside the OpenGL calls and the wait: the
    // system's own work without the time other programs took the core.
    double systemCpuMs = 0.0;
    double glMs = 0.0;
    double finishMs = 0.0;
    // CPU time of all the process's threads (the rasteriser's included):
    // the work a frame takes, less swayed by other load than its length.
    double cpuMs = 0.0;
    std::uint32_t drawCalls = 0;
    std::uint32_t glDraws = 0;
    std::uint64_t triangles = 0;
    // Pixels shaded into the frame over the frame's pixels: full-screen
    // layers' worth.
    double layers = 0.0;
};

struct BenchSpread {
    double median = 0.0;
    double p95 = 0.0;
};

struct BenchTimeResult {
    double t = 0.0;
    BenchSpread frameMs, systemMs, systemCpuMs, glMs, finishMs, cpuMs;
    double drawCalls = 0.0;  // medians
    double glDraws = 0.0;
    double triangles = 0.0;
    double layers = 0.0;
};

struct BenchResult {
    int frames = 0;
    int warmupFrames = 0;
    bool batching = true;
    bool skipClearDraws = true;  // the render device's switches
    bool chunkCulling = true;
    bool magnifiedFilter = true;
    bool mergedSteps = true;
    bool intoWindow = false;  // every timed frame was drawn straight into the window
    std::string loadBefore;   // /proc/loadavg's three averages
    std::string loadAfter;
    double startupSeconds = 0.0;
    double peakMemoryMb = 0.0;
    std::vector<BenchTimeResult> times;
};

// One time in each stretch of the schedule's time axis (the middle of each),
// the busiest, 106.5 s, among them.
std::vector<double> DefaultBenchTimes();

// The median (the mean of the middle two for an even count) and the 95th
// percentile (nearest rank) of the values; zeros for none. Sorts values.
BenchSpread Spread(std::vector<double>& values);

// Sums up one time's samples.
BenchTimeResult SummariseTime(double t, const std::vector<BenchSample>& samples);

void PrintBenchTable(const BenchResult& result, std::ostream& out);
void PrintBenchJson(const BenchResult& result, std::ostream& out);
