// The bench's figures: medians and percentiles, the default times, and the
// JSON it prints.
#include "app/bench/BenchReport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace {

TEST(BenchReportTest, MedianAndNinetyFifthPercentile) {
    std::vector<double> none;
    EXPECT_EQ(Spread(none).median, 0.0);
    std::vector<double> odd = {5, 1, 3};
    EXPECT_EQ(Spread(odd).median, 3.0);
    EXPECT_EQ(Spread(odd).p95, 5.0);
    std::vector<double> even = {4, 1, 3, 2};
    EXPECT_EQ(Spread(even).median, 2.5);
    // Nearest rank: the 95th of 100 values 1..100 is the 95th smallest.
    std::vector<double> hundred;
    for (int i = 100; i >= 1; --i) {
        hundred.push_back(i);
    }
    EXPECT_EQ(Spread(hundred).p95, 95.0);
    EXPECT_EQ(Spread(hundred).median, 50.5);
}

TEST(BenchReportTest, DefaultTimesFallInsideEveryStretchOfTheSchedule) {
    const std::vector<double> times = DefaultBenchTimes();
    ASSERT_EQ(times.size(), 17u);
    EXPECT_EQ(times.front(), 2.0);
    EXPECT_EQ(times.back(), 175.5);
    EXPECT_NE(std::find(times.begin(), times.end(), 106.5), times.end()) << "the busiest";
}

TEST(BenchReportTest, TimesSumUpTheirFramesAndPrintAsOneJsonObject) {
    std::vector<BenchSample> samples(4);
    for (int i = 0; i < 4; ++i) {
        samples[std::size_t(i)] = {10.0 + i,
                                   1.0,
                                   0.5,
                                   5.0 + i,
                                   4.0,
                                   20.0,
                                   3,
                                   std::uint32_t(2 + i % 2),
                                   std::uint64_t(1000 * (i + 1)),
                                   2.5 + i};
    }
    BenchResult result;
    result.frames = 4;
    result.warmupFrames = 10;
    result.loadBefore = "0.50 0.40 0.30";
    result.loadAfter = "0.60 0.40 0.30";
    result.startupSeconds = 0.25;
    result.peakMemoryMb = 150.5;
    result.chunkCulling = false;
    result.times.push_back(SummariseTime(106.5, samples));
    EXPECT_EQ(result.times[0].frameMs.median, 11.5);
    EXPECT_EQ(result.times[0].frameMs.p95, 13.0);
    EXPECT_EQ(result.times[0].glDraws, 2.5);
    EXPECT_EQ(result.times[0].triangles, 2500.0);
    EXPECT_EQ(result.times[0].layers, 4.0);

    std::ostringstream json;
    PrintBenchJson(result, json);
    EXPECT_EQ(json.str(),
              "{\"width\":1024,\"height\":768,\"frames\":4,\"warmup_frames\":10,"
              "\"batching\":true,\"skip_clear_draws\":true,\"chunk_culling\":false,\"magnified_"
              "filter\":true,\"merged_steps\":true,\"into_window\":false,"
              "\"startup_s\":0.2500,\"peak_memory_mb\":150.50,"
              "\"load_before\":\"0.50 0.40 0.30\",\"load_after\":\"0.60 0.40 0.30\","
              "\"times\":[{\"t\":106.5000,\"frame_ms\":{\"median\":11.5000,\"p95\":13.0000},"
              "\"system_ms\":{\"median\":1.0000,\"p95\":1.0000},"
              "\"system_cpu_ms\":{\"median\":0.5000,\"p95\":0.5000},"
              "\"gl_ms\":{\"median\":6.5000,\"p95\":8.0000},"
              "\"finish_ms\":{\"median\":4.0000,\"p95\":4.0000},"
              "\"cpu_ms\":{\"median\":20.0000,\"p95\":20.0000},\"draw_calls\":3,"
              "\"gl_draws\":2,\"triangles\":2500,\"layers\":4.000}]}\n");
}

}  // namespace
