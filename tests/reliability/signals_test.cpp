// Ctrl+C (SIGINT) and SIGTERM at any moment of a windowed run, start-up
// included: hush catches both from the first line of main, so a signal
// during start-up lets start-up finish and ends the loop at its first pass;
// either way the teardown runs and the exit code is 0. Only a signal that
// lands while the dynamic loader is still at work, before main, ends the
// process as it would any program.
#include "tests/app/HushProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

namespace {

using namespace std::chrono_literals;

struct Moment {
    int signal;
    std::chrono::milliseconds after;  // from the moment the handlers are in place
};

void PrintTo(const Moment& moment, std::ostream* out) {
    *out << (moment.signal == SIGINT ? "SIGINT" : "SIGTERM") << " after " << moment.after.count()
         << " ms";
}

class SignalTest : public ::testing::TestWithParam<Moment> {};

TEST_P(SignalTest, EndsThroughTheTeardownWithExitCodeZero) {
    hushtest::Launch launch;
    launch.arguments = {"--windowed"};
    launch.signal = GetParam().signal;
    launch.signalDelay = GetParam().after;
    launch.signalAfterHandlers = true;
    launch.deadline = 120s;
    const hushtest::Outcome outcome = hushtest::RunHush(launch);
    EXPECT_TRUE(outcome.exited) << "killed by signal " << outcome.killedBy;
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, "");
}

INSTANTIATE_TEST_SUITE_P(AnyMoment, SignalTest,
                         ::testing::Values(Moment{SIGINT, 0ms}, Moment{SIGTERM, 0ms},
                                           Moment{SIGINT, 50ms}, Moment{SIGTERM, 50ms},
                                           Moment{SIGINT, 150ms}, Moment{SIGTERM, 150ms},
                                           Moment{SIGINT, 400ms}, Moment{SIGTERM, 400ms}),
                         [](const auto& info) {
                             return std::string(info.param.signal == SIGINT ? "Int" : "Term") +
                                    "After" + std::to_string(info.param.after.count()) + "ms";
                         });

// Sent as the process starts: it either has not reached main (and ends as
// any program does on SIGTERM, without a word) or has, and ends cleanly.
// Never a crash, never a hang.
TEST(SignalAtStartTest, EndsByTheSignalOrCleanlyNeverOtherwise) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        hushtest::Launch launch;
        launch.arguments = {"--windowed"};
        launch.signal = SIGTERM;
        launch.signalDelay = 0ms;
        launch.deadline = 120s;
        const hushtest::Outcome outcome = hushtest::RunHush(launch);
        if (outcome.exited) {
            EXPECT_EQ(outcome.exitCode, 0);
        } else {
            EXPECT_EQ(outcome.killedBy, SIGTERM);
        }
        EXPECT_EQ(outcome.err, "");
    }
}

}  // namespace
