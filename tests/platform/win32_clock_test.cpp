// The performance counter, the tick count and the virtual clock behind both.
#include <win32_standin.h>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

class Win32ClockTest : public ::testing::Test {
protected:
    void TearDown() override {
        win32::UseVirtualClock(false);
        win32::SetVirtualClock(0);
        win32::SetPerformanceCounterAvailable(true);
    }
};

TEST_F(Win32ClockTest, CounterCountsNanosecondsFromProcessStart) {
    LARGE_INTEGER frequency = {};
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 1000000000);

    LARGE_INTEGER first = {};
    LARGE_INTEGER second = {};
    ASSERT_TRUE(QueryPerformanceCounter(&first));
    ASSERT_TRUE(QueryPerformanceCounter(&second));
    EXPECT_GE(first.QuadPart, 0);
    EXPECT_GE(second.QuadPart, first.QuadPart);
    // Counted from the start of this process, not of the machine.
    EXPECT_LT(first.QuadPart, std::int64_t{3600} * 1000000000);
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
}

TEST_F(Win32ClockTest, VirtualClockDrivesCounterAndTickCount) {
    win32::UseVirtualClock(true);
    win32::SetVirtualClock(2500000000);
    LARGE_INTEGER count = {};
    ASSERT_TRUE(QueryPerformanceCounter(&count));
    EXPECT_EQ(count.QuadPart, 2500000000);
    EXPECT_EQ(GetTickCount(), 2500u);
    EXPECT_EQ(win32::VirtualClock(), 2500000000);

    // 32 bits of milliseconds wrap after about 49.7 days.
    win32::SetVirtualClock((std::int64_t{1} << 32) * 1000000 + 5999999);
    EXPECT_EQ(GetTickCount(), 5u);
}

TEST_F(Win32ClockTest, MissingCounterFailsBothQueries) {
    win32::SetPerformanceCounterAvailable(false);
    LARGE_INTEGER value = {};
    EXPECT_FALSE(QueryPerformanceFrequency(&value));
    EXPECT_FALSE(QueryPerformanceCounter(&value));
}

}  // namespace
