// Two shows at once share nothing: two captures of one range, run side by
// side into two folders, write the same frames as a capture run alone.
#include "tests/app/HushProcess.h"
#include "tests/reliability/BrokenData.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

// Tunnel, model Q and both particle systems are on screen.
hushtest::Outcome CaptureInto(const std::filesystem::path& folder) {
    hushtest::Launch launch;
    launch.arguments = {"--capture", folder.string(), "--fps", "4",
                        "--from",    "100",           "--to",  "100.5"};
    launch.deadline = std::chrono::seconds(180);
    return hushtest::RunHush(launch);
}

TEST(TwoInstancesTest, CapturesRunningSideBySideMatchOneRunAlone) {
    reliability::TempFolder root("hush_two_instances");
    const hushtest::Outcome alone = CaptureInto(root.Path() / "alone");
    ASSERT_EQ(alone.exitCode, 0) << alone.err;

    hushtest::Outcome first;
    hushtest::Outcome second;
    std::thread other([&] { second = CaptureInto(root.Path() / "second"); });
    first = CaptureInto(root.Path() / "first");
    other.join();
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(second.exitCode, 0) << second.err;

    for (int frame = 0; frame < 3; ++frame) {
        SCOPED_TRACE(frame);
        const std::vector<char> expected = reliability::FrameBytes(root.Path() / "alone", frame);
        ASSERT_FALSE(expected.empty());
        EXPECT_TRUE(reliability::FrameBytes(root.Path() / "first", frame) == expected);
        EXPECT_TRUE(reliability::FrameBytes(root.Path() / "second", frame) == expected);
    }
}

}  // namespace
