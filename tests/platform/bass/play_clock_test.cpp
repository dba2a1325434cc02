// Where a stream starts playing: from the start time the first time and
// when played from the start, from where it stopped otherwise.
#include "platform/bass/PlayClock.h"

#include <gtest/gtest.h>

namespace {

constexpr int kRate = 1000;
constexpr std::int64_t kSecond = 1'000'000'000;

TEST(PlayClockTest, StartsAtTheStartFrameFirstAndFromTheStart) {
    using Source = bass::PlayClock::Source;
    bass::PlayClock clock(kRate);
    EXPECT_EQ(clock.Heard(0), 0);
    EXPECT_EQ(clock.Start(false, 5000, 0), 5000);
    clock.Play(Source::WallClock, false, true, 10 * kSecond, 5000);
    EXPECT_TRUE(clock.Playing());
    EXPECT_EQ(clock.Heard(12 * kSecond), 7000);
    // Played again while playing: nothing changes.
    clock.Play(Source::WallClock, false, true, 13 * kSecond, 0);
    EXPECT_EQ(clock.Heard(13 * kSecond), 8000);
    // Stopped and resumed: on from where it was.
    clock.Pause(14 * kSecond);
    EXPECT_EQ(clock.Start(false, 5000, 20 * kSecond), 9000);
    clock.Resume(20 * kSecond);
    EXPECT_EQ(clock.Heard(21 * kSecond), 10000);
    // From the start: the start frame again.
    EXPECT_EQ(clock.Start(true, 5000, 22 * kSecond), 5000);
    clock.Play(Source::WallClock, true, true, 22 * kSecond, 5000);
    EXPECT_EQ(clock.Heard(23 * kSecond), 6000);
}

}  // namespace
