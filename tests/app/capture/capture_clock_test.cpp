// The capture clock against the real frame timer: frame k's show clock is
// the float nearest T0 + k/N, the frame time is 1/N, and the frame count
// follows --to and the show's end.
#include "app/capture/CaptureClock.h"
#include "app/Timer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace {

constexpr std::int64_t kCountsPerSecond = 1000000000;

std::int64_t g_count = 0;

BOOL WINAPI Frequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = kCountsPerSecond;
    return TRUE;
}

BOOL WINAPI Counter(LARGE_INTEGER* count) {
    count->QuadPart = g_count;
    return TRUE;
}

DWORD WINAPI Ticks() {
    return static_cast<DWORD>(g_count / 1000000);
}

constexpr CounterSource kVirtualCounter = {Frequency, Counter, Ticks};

struct Range {
    int fps;
    double from;
};

void PrintTo(const Range& range, std::ostream* out) {
    *out << range.fps << " fps from " << range.from << " s";
}

std::string RangeName(const ::testing::TestParamInfo<Range>& info) {
    return "Fps" + std::to_string(info.param.fps) + "From" +
           std::to_string(static_cast<int>(info.param.from * 10)) + "Tenths";
}

class CaptureClockTest : public ::testing::TestWithParam<Range> {};

TEST_P(CaptureClockTest, EveryFrameOfTheShowIsAtTheNearestFloatToItsTime) {
    const Range range = GetParam();
    const CaptureClock clock(range.fps, range.from, kCountsPerSecond);
    g_count = CaptureClock::kStartCount;
    CTimer timer(kVirtualCounter);
    const std::int64_t frames = clock.FrameCount(INFINITY, 180.0f);
    for (std::int64_t k = 0; k < frames; ++k) {
        g_count = clock.CountAt(k);
        timer.Update(0.0f);
        const double exact = range.from + static_cast<double>(k) / range.fps;
        if (exact == 0.0 || exact >= 1.0 / 64) {
            ASSERT_EQ(timer.GetTimeSinceStart(), static_cast<float>(exact)) << "frame " << k;
        } else {
            ASSERT_NEAR(timer.GetTimeSinceStart(), exact, 1.5e-9) << "frame " << k;
        }
        ASSERT_EQ(clock.ShowClockAt(k), timer.GetTimeSinceStart()) << "frame " << k;
        if (k == 0) {
            EXPECT_EQ(timer.GetFrameTime(), static_cast<float>(range.from));
        } else {
            // A few counts (ns) and the frame time's own float rounding.
            const float step = static_cast<float>(1.0 / range.fps);
            const double spacing = std::nextafter(step, INFINITY) - step;
            ASSERT_NEAR(timer.GetFrameTime(), 1.0 / range.fps, 5e-9 + spacing) << "frame " << k;
        }
    }
    EXPECT_GT(clock.ShowClockAt(frames - 1), 180.0f);
    EXPECT_LE(clock.ShowClockAt(frames - 2), 180.0f);
}

INSTANTIATE_TEST_SUITE_P(Rates, CaptureClockTest,
                         ::testing::Values(Range{60, 0.0}, Range{30, 0.0}, Range{24, 0.0},
                                           Range{30, 100.0}, Range{7, 0.1}, Range{1000, 0.0},
                                           Range{1000, 179.9}),
                         RangeName);

TEST(CaptureFrameCount, FollowsToAndTheShowsEnd) {
    const CaptureClock second(30, 100.0, kCountsPerSecond);
    // 100 + 30/30 is exactly 101: the last frame is at --to.
    EXPECT_EQ(second.FrameCount(101.0, 180.0f), 31);
    EXPECT_EQ(second.FrameCount(100.99, 180.0f), 30);
    // Whole show: t = 0 ... 180 and the first frame past 180, which ends it.
    EXPECT_EQ(CaptureClock(30, 0.0, kCountsPerSecond).FrameCount(INFINITY, 180.0f), 5402);
    EXPECT_EQ(CaptureClock(60, 0.0, kCountsPerSecond).FrameCount(1000.0, 180.0f), 10802);
    // A single instant, even one a float cannot hold.
    EXPECT_EQ(CaptureClock(60, 0.1, kCountsPerSecond).FrameCount(0.1, 180.0f), 1);
    // Starting past the end: the show draws one frame and ends.
    EXPECT_EQ(CaptureClock(60, 200.0, kCountsPerSecond).FrameCount(INFINITY, 180.0f), 1);
}

}  // namespace
