// The real executable, run headless: the command line, the prompt without a
// display, and Ctrl+C ending a running show through its teardown.
#include "tests/app/HushProcess.h"

#include <gtest/gtest.h>

#include <win32_standin.h>

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace std::chrono_literals;
using hushtest::Outcome;
using hushtest::RunHush;

TEST(HushBinaryTest, WithoutADisplayThePromptIsClosedAndTheProgramQuits) {
    hushtest::Launch launch;
    launch.unsetVariables = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"};
    const Outcome outcome = RunHush(launch);
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, "h u s h:  fullscreen (yes)\n window (no)\n quit (cancel)\n");
}

// A second and a half into the show's frames: frames drawn straight into
// the (offscreen) window must be sent to the driver as they are presented,
// or the close waits a minute for the pile of them.
TEST(HushBinaryTest, CtrlCClosesTheWindowedShowWithExitCodeZero) {
    hushtest::Launch launch;
    launch.arguments = {"--windowed"};
    launch.signal = SIGINT;
    launch.signalDelay = 1500ms;
    launch.signalAfterHandlers = true;
    launch.deadline = 20s;
    const Outcome outcome = RunHush(launch);
    EXPECT_TRUE(outcome.exited) << "ended by the signal instead of the teardown";
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, "");
}

TEST(HushBinaryTest, TermClosesTheFullscreenShowWithExitCodeZero) {
    const Outcome outcome = RunHush({"--fullscreen"}, SIGTERM, 500ms);
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, "");
}

TEST(HushBinaryTest, HelpListsEveryOption) {
    const Outcome outcome = RunHush({"--help"});
    EXPECT_EQ(outcome.exitCode, 0);
    for (const char* option : {"--windowed", "--fullscreen", "--log", "--data", "--trace",
                               "--capture", "--fps", "--from", "--to", "--bench", "--at",
                               "--frames", "--json", "--hold", "--help", "--version"}) {
        EXPECT_NE(outcome.out.find(option), std::string::npos) << option;
    }
}

// The bench needs no display and prints one JSON object with a line per
// time; batching is on unless the environment turns it off.
TEST(HushBinaryTest, BenchPrintsItsFiguresAsJson) {
    hushtest::Launch launch;
    launch.arguments = {"--bench", "--at", "24.5,106.5", "--frames", "3", "--json"};
    launch.unsetVariables = {"DISPLAY",
                             "WAYLAND_DISPLAY",
                             "SDL_VIDEODRIVER",
                             "HUSH_D3D9_BATCHING",
                             "HUSH_DEVICE_SKIP_CLEAR",
                             "HUSH_DEVICE_CULLING",
                             "HUSH_DEVICE_MAGNIFIED_FILTER",
                             "HUSH_DEVICE_MERGE_STEPS",
                             "HUSH_D3D9_DRAW_INTO_WINDOW"};
    const Outcome batched = RunHush(launch);
    EXPECT_EQ(batched.exitCode, 0) << batched.err;
    EXPECT_EQ(batched.out.rfind("{\"width\":1024,\"height\":768,\"frames\":3,", 0), 0u)
        << batched.out;
    EXPECT_NE(
        batched.out.find("\"batching\":true,\"skip_clear_draws\":true,\"chunk_culling\":true"),
        std::string::npos);
    EXPECT_NE(batched.out.find("\"merged_steps\":true,\"into_window\":true"), std::string::npos)
        << "the bench's window is the back buffer's size";
    EXPECT_NE(batched.out.find("{\"t\":24.5000,\"frame_ms\":{\"median\":"), std::string::npos);
    EXPECT_NE(batched.out.find("{\"t\":106.5000,"), std::string::npos);
    EXPECT_EQ(batched.out.find('\n'), batched.out.size() - 1) << "one line";

    launch.setVariables = {{"HUSH_D3D9_BATCHING", "0"},      {"HUSH_DEVICE_SKIP_CLEAR", "0"},
                           {"HUSH_DEVICE_CULLING", "0"},     {"HUSH_DEVICE_MAGNIFIED_FILTER", "0"},
                           {"HUSH_DEVICE_MERGE_STEPS", "0"}, {"HUSH_D3D9_DRAW_INTO_WINDOW", "0"}};
    const Outcome unbatched = RunHush(launch);
    EXPECT_EQ(unbatched.exitCode, 0) << unbatched.err;
    EXPECT_NE(
        unbatched.out.find("\"batching\":false,\"skip_clear_draws\":false,\"chunk_culling\":false,"
                           "\"magnified_filter\":false,\"merged_steps\":false,"
                           "\"into_window\":false"),
        std::string::npos);
}

TEST(HushBinaryTest, UnknownOptionExitsWithTwo) {
    const Outcome outcome = RunHush({"--no-such-option"});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.err.find("--no-such-option"), std::string::npos);
    EXPECT_EQ(outcome.out, "");
}

// A device effect that does not compile stops start-up after its text is
// written out: the entry's E_FAIL (0x80004005) leaves exit status 5.
TEST(HushBinaryTest, BrokenDeviceEffectEndsStartUpWithEFail) {
    char folder[] = "/tmp/hush_broken_fx_XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string shaders = std::string(folder) + "/data/shaders";
    ASSERT_EQ(std::system(("mkdir -p " + shaders + " && cp " + win32::ExecutableDir() +
                           "data/shaders/offset_mapper.fx " + shaders)
                              .c_str()),
              0);
    std::ofstream(shaders + "/vsm.fx") << "uniform float fA;\ntechnique RenderTunnel {\n";

    const Outcome outcome = RunHush({"--windowed", "--data", folder});
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, 5);
    EXPECT_NE(outcome.err.find("vsm.fx("), std::string::npos) << outcome.err;
    std::system(("rm -rf " + std::string(folder)).c_str());
}

// The show clocks ("t") of the trace's frame lines of a windowed run with
// ARGUMENTS, ended after four seconds by Ctrl+C through the teardown.
std::vector<double> FrameClocksOfARun(std::vector<std::string> arguments) {
    const std::string trace = hushtest::TempFile("hush-clocks");
    arguments.insert(arguments.end(), {"--windowed", "--trace", trace});
    const Outcome outcome = RunHush(std::move(arguments), SIGINT, 4000ms);
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, 0);
    std::vector<double> clocks;
    for (const std::string& line : hushtest::Lines(hushtest::ReadFile(trace))) {
        const std::size_t at = line.find("\"t\":");
        if (line.rfind("{\"frame\":", 0) == 0 && at != std::string::npos) {
            clocks.push_back(std::strtod(line.c_str() + at + 4, nullptr));
        }
    }
    std::filesystem::remove(trace);
    return clocks;
}

}  // namespace

// --hold shows every frame at its time; --from starts the clock there and
// lets it run.
TEST(HushBinaryTest, AHeldRunStaysAtItsTimeAndALaterOneStartsAtIt) {
    const std::vector<double> heldClocks = FrameClocksOfARun({"--hold", "106.5"});
    ASSERT_GE(heldClocks.size(), 2u);
    for (double clock : heldClocks) {
        EXPECT_EQ(clock, 106.5);
    }

    const std::vector<double> laterClocks = FrameClocksOfARun({"--from", "60"});
    ASSERT_GE(laterClocks.size(), 2u);
    EXPECT_GE(laterClocks.front(), 60.0);
    EXPECT_LT(laterClocks.front(), 61.0);
    EXPECT_GT(laterClocks.back(), laterClocks.front());
}
