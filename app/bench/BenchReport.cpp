// Medians, percentiles and the two ways of printing the benchmark.
#include "app/bench/BenchReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

std::vector<double> DefaultBenchTimes() {
    // The schedule's stretches: from one bound where the rows that draw
    // change to the next.
    constexpr double kBounds[] = {0,  4,  22,  24,  29,  30,  45,  52,  80,
                                  87, 97, 106, 107, 115, 136, 155, 171, 180};
    std::vector<double> times;
    for (std::size_t i = 0; i + 1 < std::size(kBounds); ++i) {
        times.push_back((kBounds[i] + kBounds[i + 1]) / 2.0);
    }
    return times;
}

BenchSpread Spread(std::vector<double>& values) {
    if (values.empty()) {
        return {};
    }
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    BenchSpread spread;
    spread.median = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
    const std::size_t rank = static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(n)));
    spread.p95 = values[std::max<std::size_t>(rank, 1) - 1];
    return spread;
}

BenchTimeResult SummariseTime(double t, const std::vector<BenchSample>& samples) {
    BenchTimeResult result;
    result.t = t;
    std::vector<double> values(samples.size());
    const auto spreadOf = [&](auto field) {
        std::transform(samples.begin(), samples.end(), values.begin(), field);
        return Spread(values);
    };
    result.frameMs = spreadOf([](const BenchSample& s) { return s.frameMs; });
    result.systemMs = spreadOf([](const BenchSample& s) { return s.systemMs; });
    result.systemCpuMs = spreadOf([](const BenchSample& s) { return s.systemCpuMs; });
    result.glMs = spreadOf([](const BenchSample& s) { return s.glMs; });
    result.finishMs = spreadOf([](const BenchSample& s) { return s.finishMs; });
    result.cpuMs = spreadOf([](const BenchSample& s) { return s.cpuMs; });
    result.drawCalls = spreadOf([](const BenchSample& s) { return double(s.drawCalls); }).median;
    result.glDraws = spreadOf([](const BenchSample& s) { return double(s.glDraws); }).median;
    result.triangles = spreadOf([](const BenchSample& s) { return double(s.triangles); }).median;
    result.layers = spreadOf([](const BenchSample& s) { return s.layers; }).median;
    return result;
}

namespace {

std::string Format(const char* format, double a, double b) {
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

std::string SpreadText(const BenchSpread& spread) {
    return Format("%8.3f %8.3f", spread.median, spread.p95);
}

void JsonSpread(std::ostream& out, const char* name, const BenchSpread& spread) {
    out << "\"" << name << "\":{"
        << Format("\"median\":%.4f,\"p95\":%.4f", spread.median, spread.p95) << "}";
}

}  // namespace

void PrintBenchTable(const BenchResult& result, std::ostream& out) {
    out << "hush --bench: 1024x768 offscreen, " << result.frames << " frames timed at each time ("
        << result.warmupFrames << " before them not counted), draw batching "
        << (result.batching ? "on" : "off") << ", clear draws skipped "
        << (result.skipClearDraws ? "on" : "off") << ", chunk culling "
        << (result.chunkCulling ? "on" : "off") << ", magnified filter "
        << (result.magnifiedFilter ? "on" : "off") << ", straight steps merged "
        << (result.mergedSteps ? "on" : "off") << ", drawn into the window "
        << (result.intoWindow ? "on" : "off") << "\n"
        << "load average before: " << result.loadBefore << ", after: " << result.loadAfter << "\n"
        << "milliseconds per frame, median and 95th percentile; system = frame - GL - finish;\n"
        << "sys cpu = the main thread's CPU time outside GL and the wait; cpu = all threads'\n"
        << "       t     frame      p95   system      p95  sys cpu      p95       GL      p95"
           "   finish      p95      cpu      p95    draws GL draws triangles layers\n";
    for (const BenchTimeResult& time : result.times) {
        char head[32];
        std::snprintf(head, sizeof head, "%8.3f", time.t);
        char tail[64];
        std::snprintf(tail, sizeof tail, " %8.0f %8.0f %9.0f %6.2f", time.drawCalls, time.glDraws,
                      time.triangles, time.layers);
        out << head << " " << SpreadText(time.frameMs) << " " << SpreadText(time.systemMs) << " "
            << SpreadText(time.systemCpuMs) << " " << SpreadText(time.glMs) << " "
            << SpreadText(time.finishMs) << " " << SpreadText(time.cpuMs) << tail << "\n";
    }
    char line[128];
    std::snprintf(line, sizeof line,
                  "start-up to first frame: %.3f s\npeak memory (VmHWM): %.1f MB\n",
                  result.startupSeconds, result.peakMemoryMb);
    out << line;
}

void PrintBenchJson(const BenchResult& result, std::ostream& out) {
    char head[384];
    std::snprintf(
        head, sizeof head,
        "{\"width\":1024,\"height\":768,\"frames\":%d,\"warmup_frames\":%d,"
        "\"batching\":%s,\"skip_clear_draws\":%s,\"chunk_culling\":%s,"
        "\"magnified_filter\":%s,\"merged_steps\":%s,\"into_window\":%s,\"startup_s\":%.4f,"
        "\"peak_memory_mb\":%.2f,",
        result.frames, result.warmupFrames, result.batching ? "true" : "false",
        result.skipClearDraws ? "true" : "false", result.chunkCulling ? "true" : "false",
        result.magnifiedFilter ? "true" : "false", result.mergedSteps ? "true" : "false",
        result.intoWindow ? "true" : "false", result.startupSeconds, result.peakMemoryMb);
    out << head << "\"load_before\":\"" << result.loadBefore << "\",\"load_after\":\""
        << result.loadAfter << "\",\"times\":[";
    for (std::size_t i = 0; i < result.times.size(); ++i) {
        const BenchTimeResult& time = result.times[i];
        out << (i > 0 ? "," : "") << "{";
        char t[32];
        std::snprintf(t, sizeof t, "\"t\":%.4f,", time.t);
        out << t;
        JsonSpread(out, "frame_ms", time.frameMs);
        out << ",";
        JsonSpread(out, "system_ms", time.systemMs);
        out << ",";
        JsonSpread(out, "system_cpu_ms", time.systemCpuMs);
        out << ",";
        JsonSpread(out, "gl_ms", time.glMs);
        out << ",";
        JsonSpread(out, "finish_ms", time.finishMs);
        out << ",";
        JsonSpread(out, "cpu_ms", time.cpuMs);
        char draws[160];
        std::snprintf(draws, sizeof draws,
                      ",\"draw_calls\":%.0f,\"gl_draws\":%.0f,\"triangles\":%.0f,\"layers\":%.3f}",
                      time.drawCalls, time.glDraws, time.triangles, time.layers);
        out << draws;
    }
    out << "]}\n";
}
