// Ctrl+C (SIGINT) and SIGTERM at any moment of a windowed run, start-up
// included: hush catches both from the first line of main, so a signal
// during start-up lets start-up finish and ends the loop at its first pass;
// either way the teardown runs and the exit code is 0. Only a signal that
// lands while the dynamic loader is still at work, before main, ends the
// process as it would any program. A second signal ends the process at once,
// even while start-up waits for the user.
#include "tests/app/HushProcess.h"
#include "tests/desktop/XSession.h"

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
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

struct SignalPair {
    int first;
    int second;
};

class SecondSignalTest : public ::testing::TestWithParam<SignalPair> {};

// The mode prompt on a real display holds start-up until it is answered. The
// first signal only asks the show to end once it runs; the second ends the
// process then and there, as a shell reports a process ended by it.
TEST_P(SecondSignalTest, EndsAStartUpThatWaitsAtOnce) {
    std::string failure;
    const std::unique_ptr<hushtest::XSession> display =
        hushtest::XSession::Start(1024, 768, false, &failure);
    if (!display) {
        GTEST_SKIP() << failure;
    }
    hushtest::Launch launch;
    launch.setVariables = {{"DISPLAY", display->Name()}, {"SDL_AUDIODRIVER", "dummy"}};
    launch.unsetVariables = {"SDL_VIDEODRIVER", "WAYLAND_DISPLAY"};
    launch.signal = GetParam().first;
    launch.signalAfterHandlers = true;
    launch.signalDelay = 1500ms;
    launch.secondSignal = GetParam().second;
    launch.signalGap = 500ms;
    launch.deadline = 30s;
    const hushtest::Outcome outcome = hushtest::RunHush(launch);
    EXPECT_TRUE(outcome.exited) << "killed by signal " << outcome.killedBy;
    EXPECT_EQ(outcome.exitCode, 128 + GetParam().second);
    EXPECT_EQ(outcome.err, "");
}

INSTANTIATE_TEST_SUITE_P(AtThePrompt, SecondSignalTest,
                         ::testing::Values(SignalPair{SIGINT, SIGINT}, SignalPair{SIGTERM, SIGINT},
                                           SignalPair{SIGINT, SIGTERM}),
                         [](const auto& info) {
                             const auto name = [](int signal) {
                                 return std::string(signal == SIGINT ? "Int" : "Term");
                             };
                             return name(info.param.first) + "Then" + name(info.param.second);
                         });

}  // namespace
