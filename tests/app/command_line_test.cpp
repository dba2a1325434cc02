// The command line: the prompt answered in advance, the log and data
// folders, help, version and the usage errors.
#include "app/CommandLine.h"

#include "app/HtmlLog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Parsed {
    std::optional<int> exitCode;
    CommandLineOptions options;
    std::string out;
    std::string err;
};

Parsed Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "hush");
    Parsed parsed;
    std::ostringstream out;
    std::ostringstream err;
    parsed.exitCode = ParseCommandLine(static_cast<int>(arguments.size()), arguments.data(),
                                       parsed.options, out, err);
    parsed.out = out.str();
    parsed.err = err.str();
    return parsed;
}

TEST(CommandLineTest, NoOptionsAsksAndTouchesNothing) {
    const Parsed parsed = Parse({});
    EXPECT_FALSE(parsed.exitCode.has_value());
    EXPECT_EQ(parsed.options.display, DisplayChoice::Ask);
    EXPECT_TRUE(parsed.options.logFile.empty());
    EXPECT_TRUE(parsed.options.dataDir.empty());
}

TEST(CommandLineTest, DisplayOptionsAnswerThePromptAndExcludeEachOther) {
    EXPECT_EQ(Parse({"--windowed"}).options.display, DisplayChoice::Windowed);
    EXPECT_EQ(Parse({"--fullscreen"}).options.display, DisplayChoice::Fullscreen);
    const Parsed both = Parse({"--windowed", "--fullscreen"});
    EXPECT_EQ(both.exitCode, kUsageExitCode);
    EXPECT_NE(both.err.find("--fullscreen"), std::string::npos);
}

TEST(CommandLineTest, UsageErrorsExplainThemselvesAndExitWithTwo) {
    for (const std::vector<const char*>& arguments : {std::vector<const char*>{"--bogus"},
                                                      {"stray"},
                                                      {"--log"},
                                                      {"--data"},
                                                      {"--data", "/no/such/folder/for/hush"}}) {
        const Parsed parsed = Parse(arguments);
        EXPECT_EQ(parsed.exitCode, kUsageExitCode) << arguments[0];
        EXPECT_EQ(parsed.err.rfind("hush: ", 0), 0u) << parsed.err;
        EXPECT_TRUE(parsed.out.empty());
    }
}

TEST(CommandLineTest, CaptureAnswersThePromptAsAWindowAndTakesItsRange) {
    const Parsed plain = Parse({"--capture", "frames"});
    ASSERT_FALSE(plain.exitCode.has_value()) << plain.err;
    EXPECT_EQ(plain.options.display, DisplayChoice::Windowed);
    EXPECT_EQ(plain.options.capture.out, (std::filesystem::current_path() / "frames").string());
    EXPECT_EQ(plain.options.capture.fps, 60);
    EXPECT_EQ(plain.options.capture.from, 0.0);
    EXPECT_EQ(plain.options.capture.to, std::numeric_limits<double>::infinity());
    EXPECT_TRUE(plain.options.traceFile.empty());

    const Parsed range = Parse({"--capture", "/tmp/a.mp4", "--fps", "30", "--from", "100", "--to",
                                "101.5", "--trace", "t"});
    ASSERT_FALSE(range.exitCode.has_value()) << range.err;
    EXPECT_EQ(range.options.capture.out, "/tmp/a.mp4");
    EXPECT_EQ(range.options.capture.fps, 30);
    EXPECT_EQ(range.options.capture.from, 100.0);
    EXPECT_EQ(range.options.capture.to, 101.5);
    EXPECT_EQ(range.options.traceFile, (std::filesystem::current_path() / "t").string());

    // One instant is a range too.
    EXPECT_FALSE(Parse({"--capture", "f", "--from", "5", "--to", "5"}).exitCode.has_value());
    // The trace works without a capture.
    EXPECT_FALSE(Parse({"--windowed", "--trace", "t"}).exitCode.has_value());
}

TEST(CommandLineTest, CaptureRangesThatMakeNoSenseAreUsageErrors) {
    for (const std::vector<const char*>& arguments :
         {std::vector<const char*>{"--fps", "30"},
          {"--to", "1"},
          {"--capture", "f", "--fullscreen"},
          {"--capture", ""},
          {"--capture", "f", "--fps", "0"},
          {"--capture", "f", "--fps", "-5"},
          {"--capture", "f", "--fps", "2.5"},
          {"--capture", "f", "--from", "-1"},
          {"--capture", "f", "--from", "nan"},
          {"--capture", "f", "--from", "inf"},
          {"--capture", "f", "--from", "1e300"},
          {"--capture", "f", "--to", "soon"},
          {"--capture", "f", "--from", "10", "--to", "9.5"},
          {"--trace"}}) {
        const Parsed parsed = Parse(arguments);
        EXPECT_EQ(parsed.exitCode, kUsageExitCode) << arguments[0] << " " << arguments.back();
        EXPECT_EQ(parsed.err.rfind("hush: ", 0), 0u) << parsed.err;
    }
}

TEST(CommandLineTest, BenchAnswersThePromptAsAWindowAndTakesItsTimes) {
    const Parsed plain = Parse({"--bench"});
    ASSERT_FALSE(plain.exitCode.has_value()) << plain.err;
    EXPECT_TRUE(plain.options.bench.on);
    EXPECT_TRUE(plain.options.bench.at.empty());
    EXPECT_EQ(plain.options.display, DisplayChoice::Windowed);

    const Parsed timed = Parse({"--bench", "--at", "2,106.5,180", "--frames", "5", "--json"});
    ASSERT_FALSE(timed.exitCode.has_value()) << timed.err;
    EXPECT_EQ(timed.options.bench.at, (std::vector<double>{2.0, 106.5, 180.0}));
    EXPECT_EQ(timed.options.bench.frames, 5);
    EXPECT_TRUE(timed.options.bench.json);
    EXPECT_EQ(timed.options.display, DisplayChoice::Windowed);
    EXPECT_EQ(Parse({"--bench", "--fullscreen"}).options.display, DisplayChoice::Fullscreen);

    for (const std::vector<const char*>& arguments : {std::vector<const char*>{"--at", "5"},
                                                      {"--frames", "5"},
                                                      {"--json"},
                                                      {"--bench", "--capture", "f"},
                                                      {"--bench", "--at", "181"},
                                                      {"--bench", "--at", "1,-1"},
                                                      {"--bench", "--at", "soon"},
                                                      {"--bench", "--frames", "0"}}) {
        EXPECT_EQ(Parse(arguments).exitCode, kUsageExitCode)
            << arguments[0] << " " << arguments.back();
    }
}

// Without a capture, --from starts a plain run later; --hold holds one at a
// time of the show, and neither goes with a capture, a bench or the other.
TEST(CommandLineTest, APlainRunStartsLaterOrIsHeldAtOneTime) {
    const Parsed later = Parse({"--from", "60"});
    ASSERT_FALSE(later.exitCode.has_value()) << later.err;
    EXPECT_EQ(later.options.start.from, 60.0);
    EXPECT_FALSE(later.options.start.hold);
    EXPECT_EQ(later.options.capture.from, 0.0);
    EXPECT_EQ(later.options.display, DisplayChoice::Ask);

    const Parsed held = Parse({"--windowed", "--hold", "106.5"});
    ASSERT_FALSE(held.exitCode.has_value()) << held.err;
    EXPECT_TRUE(held.options.start.hold);
    EXPECT_EQ(held.options.start.holdAt, 106.5);
    EXPECT_EQ(held.options.start.from, 0.0);

    const Parsed captured = Parse({"--capture", "f", "--from", "5"});
    ASSERT_FALSE(captured.exitCode.has_value()) << captured.err;
    EXPECT_EQ(captured.options.capture.from, 5.0);
    EXPECT_EQ(captured.options.start.from, 0.0);

    for (const std::vector<const char*>& arguments : {std::vector<const char*>{"--hold", "181"},
                                                      {"--hold", "-1"},
                                                      {"--hold"},
                                                      {"--hold", "5", "--from", "5"},
                                                      {"--hold", "5", "--capture", "f"},
                                                      {"--hold", "5", "--bench"},
                                                      {"--bench", "--from", "5"}}) {
        const Parsed parsed = Parse(arguments);
        EXPECT_EQ(parsed.exitCode, kUsageExitCode) << arguments[0] << " " << arguments.back();
    }
}

TEST(CommandLineTest, VersionIsPrinted) {
    const Parsed version = Parse({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "hush 1.0.0\n");
}

class ApplyCommandLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        start_ = std::filesystem::current_path();
        root_ = std::filesystem::temp_directory_path() /
                ("hush_cli_" + std::to_string(getpid()) +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(root_ / "data");
        std::filesystem::current_path(root_);
    }
    void TearDown() override {
        EnableHtmlLog(nullptr);
        std::filesystem::current_path(start_);
        std::filesystem::remove_all(root_);
    }
    std::filesystem::path start_;
    std::filesystem::path root_;
};

TEST_F(ApplyCommandLineTest, LogStaysWhereTheProgramStartedWhenDataMovesAway) {
    const Parsed parsed = Parse({"--log", "show.html", "--data", "data"});
    ASSERT_FALSE(parsed.exitCode.has_value());
    std::ostringstream err;
    ASSERT_TRUE(ApplyCommandLine(parsed.options, err)) << err.str();
    EXPECT_EQ(std::filesystem::current_path(), root_ / "data");
    LogMessage("hello");
    EXPECT_TRUE(std::filesystem::exists(root_ / "show.html"));
    EXPECT_FALSE(std::filesystem::exists(root_ / "data" / "show.html"));
}

TEST_F(ApplyCommandLineTest, FailuresAreReported) {
    CommandLineOptions options;
    options.logFile = std::string(300, 'x');
    std::ostringstream err;
    EXPECT_FALSE(ApplyCommandLine(options, err));
    EXPECT_NE(err.str().find("longer than"), std::string::npos);

    // A folder that vanished between the check and the change.
    options.logFile.clear();
    options.dataDir = (root_ / "gone").string();
    err.str("");
    EXPECT_FALSE(ApplyCommandLine(options, err));
    EXPECT_NE(err.str().find("cannot change to data folder"), std::string::npos);
    EXPECT_EQ(std::filesystem::current_path(), root_);
}

}  // namespace
