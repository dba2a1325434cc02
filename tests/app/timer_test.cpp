// CTimer against a scripted counter: frame time, time since start, the
// tick-count fallback, the cap's spin and the frames-per-second window.
#include "app/Timer.h"

#include <win32_standin.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

// A counter that returns `count` and then moves it on by `step` per read.
struct FakeCounter {
    static inline bool available = true;
    static inline std::int64_t frequency = 1000000000;
    static inline std::int64_t count = 0;
    static inline std::int64_t step = 0;
    static inline DWORD ticks = 0;
    static inline int reads = 0;

    static BOOL WINAPI QueryFrequency(LARGE_INTEGER* value) {
        value->QuadPart = available ? frequency : 0;
        return available ? TRUE : FALSE;
    }
    static BOOL WINAPI QueryCounter(LARGE_INTEGER* value) {
        ++reads;
        value->QuadPart = count;
        count += step;
        return TRUE;
    }
    static DWORD WINAPI TickCount() {
        ++reads;
        return ticks;
    }
};

constexpr CounterSource kFakeSource = {FakeCounter::QueryFrequency, FakeCounter::QueryCounter,
                                       FakeCounter::TickCount};

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeCounter::available = true;
        FakeCounter::frequency = 1000000000;
        FakeCounter::count = 0;
        FakeCounter::step = 0;
        FakeCounter::ticks = 0;
        FakeCounter::reads = 0;
    }
    void TearDown() override {
        win32::SetPerformanceCounterAvailable(true);
        win32::UseVirtualClock(false);
    }
};

TEST_F(TimerTest, FirstUpdateReportsTheWholeTimeSinceConstruction) {
    FakeCounter::count = 5000000;
    CTimer timer(kFakeSource);
    FakeCounter::count = 5000000 + 40000000;
    timer.Update(0.0f);
    EXPECT_FLOAT_EQ(timer.GetFrameTime(), 0.04f);
    EXPECT_FLOAT_EQ(timer.GetTimeSinceStart(), 0.04f);
    FakeCounter::count += 10000000;
    timer.Update(0.0f);
    EXPECT_FLOAT_EQ(timer.GetFrameTime(), 0.01f);
    EXPECT_FLOAT_EQ(timer.GetTimeSinceStart(), 0.05f);
}

TEST_F(TimerTest, StartCountAsAFloatGivesAConstantOffset) {
    // A 10 MHz counter after a day: floats near 8.64e11 are 65536 counts apart.
    FakeCounter::frequency = 10000000;
    FakeCounter::count = 864000000001;
    CTimer timer(kFakeSource);
    timer.Update(0.0f);
    EXPECT_EQ(timer.GetFrameTime(), 0.0f);
    const float offset = timer.GetTimeSinceStart();
    EXPECT_NE(offset, 0.0f);
    EXPECT_LE(std::fabs(offset), 32768 * 1e-7f);
    FakeCounter::count += 10000000;
    timer.Update(0.0f);
    EXPECT_FLOAT_EQ(timer.GetTimeSinceStart(), 1.0f + offset);
}

TEST_F(TimerTest, TickCountFallbackHasMillisecondSteps) {
    FakeCounter::available = false;
    FakeCounter::ticks = 4000;
    CTimer timer(kFakeSource);
    FakeCounter::ticks = 4016;
    timer.Update(0.0f);
    EXPECT_FLOAT_EQ(timer.GetFrameTime(), 0.016f);
    timer.Update(0.0f);  // the same millisecond
    EXPECT_EQ(timer.GetFrameTime(), 0.0f);
    EXPECT_FLOAT_EQ(timer.GetTimeSinceStart(), 0.016f);
}

TEST_F(TimerTest, TheWin32CounterIsTheDefaultAndFallsBackWithoutIt) {
    win32::UseVirtualClock(true);
    win32::SetVirtualClock(1000000000);
    CTimer counter;
    win32::SetPerformanceCounterAvailable(false);
    CTimer ticks;
    win32::SetPerformanceCounterAvailable(true);
    win32::SetVirtualClock(1250000000);
    counter.Update(0.0f);
    ticks.Update(0.0f);
    EXPECT_FLOAT_EQ(counter.GetFrameTime(), 0.25f);
    EXPECT_FLOAT_EQ(ticks.GetFrameTime(), 0.25f);
}

TEST_F(TimerTest, CapSpinsUntilTheFrameIsLongEnough) {
    CTimer timer(kFakeSource);
    FakeCounter::step = 1000000;  // each read is one millisecond later
    FakeCounter::reads = 0;
    timer.Update(60.0f);
    EXPECT_GE(timer.GetFrameTime(), 1.0f / 60.0f);
    EXPECT_LT(timer.GetFrameTime(), 1.0f / 60.0f + 0.0011f);
    EXPECT_GT(FakeCounter::reads, 1);
    // Time since start is from the first read, before the spin.
    EXPECT_FLOAT_EQ(timer.GetTimeSinceStart(), 0.0f);
    const float before = timer.GetTimeSinceStart();
    timer.Update(60.0f);
    EXPECT_GE(timer.GetFrameTime(), 1.0f / 60.0f);
    EXPECT_GT(timer.GetTimeSinceStart(), before);
}

TEST_F(TimerTest, NoCapNeverSpins) {
    CTimer timer(kFakeSource);
    for (float cap : {0.0f, -30.0f}) {
        FakeCounter::reads = 0;
        timer.Update(cap);
        EXPECT_EQ(FakeCounter::reads, 1);
    }
}

TEST_F(TimerTest, FramesPerSecondChangesWhenTheWindowPassesOneSecond) {
    CTimer timer(kFakeSource);
    auto frame = [&timer](std::int64_t nanoseconds) {
        FakeCounter::count += nanoseconds;
        timer.Update(0.0f);
        return timer.GetFramesPerSecond();
    };
    for (int update = 1; update <= 4; ++update) {
        EXPECT_EQ(frame(250000000), 0) << "exactly 1.0 s does not close the window";
    }
    EXPECT_EQ(frame(250000000), 5);
    // The new window starts empty: the 0.25 s beyond one second is dropped.
    EXPECT_EQ(frame(400000000), 5);
    EXPECT_EQ(frame(400000000), 5);
    EXPECT_EQ(frame(400000000), 3);
}

}  // namespace
