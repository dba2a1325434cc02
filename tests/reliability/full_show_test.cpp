// The whole show captured at two frames a second, under the sanitizers of
// the build it belongs to (the asan preset: ASan, UBSan and LeakSanitizer):
// every frame is written, nothing is reported, nothing leaks at exit, and
// the capture's memory report gives the figures after the first and the last
// frame. The GL driver's caches grow as new content first appears, so the
// figures are recorded here; the in-process long run holds the show's own
// heap to no growth at all.
#include "tests/app/HushProcess.h"
#include "tests/reliability/BrokenData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(FullShowTest, TheWholeShowRunsCleanUnderTheSanitizers) {
    reliability::TempFolder out("hush_full_show");
    hushtest::Launch launch;
    launch.arguments = {"--capture", (out.Path() / "frames").string(), "--fps", "2"};
    launch.setVariables = {{"HUSH_MEMORY_REPORT", "1"}};
    launch.deadline = std::chrono::seconds(1500);
    const hushtest::Outcome outcome = hushtest::RunHush(launch);
    EXPECT_TRUE(outcome.exited) << "killed by signal " << outcome.killedBy;
    EXPECT_EQ(outcome.exitCode, 0);

    // Nothing but the two memory lines and the summary.
    const std::vector<std::string> lines = hushtest::Lines(outcome.err);
    ASSERT_EQ(lines.size(), 3u) << outcome.err;
    EXPECT_EQ(lines[0].rfind("hush: memory after frame 0: ", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind("hush: memory after frame 361: ", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind("hush: captured 362 frames (t 0.000 to 180.500 s)", 0), 0u)
        << lines[2];
    RecordProperty("first_frame", lines[0]);
    RecordProperty("last_frame", lines[1]);
    EXPECT_FALSE(reliability::FrameBytes(out.Path() / "frames", 361).empty());
}

}  // namespace
