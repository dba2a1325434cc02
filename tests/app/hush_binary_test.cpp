// The real executable, run headless: the command line, the prompt without a
// display, and Ctrl+C ending a running show through its teardown.
#include <win32_standin.h>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

struct Outcome {
    bool exited = false;
    int exitCode = -1;
    std::string out;
    std::string err;
};

struct Launch {
    std::vector<std::string> arguments;
    std::vector<const char*> unsetVariables;
    int signal = 0;  // sent after signalDelay when not 0
    std::chrono::milliseconds signalDelay = 1000ms;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string TempFile(const char* stem) {
    std::string path = "/tmp/hush_binary_" + std::string(stem) + "_XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd >= 0) {
        close(fd);
    }
    return path;
}

Outcome RunHush(const Launch& launch) {
    const std::string outPath = TempFile("out");
    const std::string errPath = TempFile("err");
    const std::string program = win32::ExecutableDir() + "hush";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : launch.arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        if (std::freopen(outPath.c_str(), "w", stdout) == nullptr ||
            std::freopen(errPath.c_str(), "w", stderr) == nullptr) {
            _exit(126);
        }
        for (const char* name : launch.unsetVariables) {
            unsetenv(name);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    Outcome outcome;
    if (child < 0) {
        return outcome;
    }
    if (launch.signal != 0) {
        std::this_thread::sleep_for(launch.signalDelay);
        kill(child, launch.signal);
    }
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(10ms);
    }
    outcome.exited = WIFEXITED(status);
    outcome.exitCode = outcome.exited ? WEXITSTATUS(status) : -1;
    outcome.out = ReadFile(outPath);
    outcome.err = ReadFile(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return outcome;
}

TEST(HushBinaryTest, WithoutADisplayThePromptIsClosedAndTheProgramQuits) {
    const Outcome outcome =
        RunHush({{}, {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}, 0, 0ms});
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, "h u s h:  fullscreen (yes)\n window (no)\n quit (cancel)\n");
}

TEST(HushBinaryTest, CtrlCClosesTheWindowedShowWithExitCodeZero) {
    const Outcome outcome = RunHush({{"--windowed"}, {}, SIGINT, 1000ms});
    EXPECT_TRUE(outcome.exited) << "ended by the signal instead of the teardown";
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, "");
}

TEST(HushBinaryTest, TermClosesTheFullscreenShowWithExitCodeZero) {
    const Outcome outcome = RunHush({{"--fullscreen"}, {}, SIGTERM, 500ms});
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, "");
}

TEST(HushBinaryTest, HelpListsEveryOption) {
    const Outcome outcome = RunHush({{"--help"}, {}, 0, 0ms});
    EXPECT_EQ(outcome.exitCode, 0);
    for (const char* option :
         {"--windowed", "--fullscreen", "--log", "--data", "--help", "--version"}) {
        EXPECT_NE(outcome.out.find(option), std::string::npos) << option;
    }
}

TEST(HushBinaryTest, UnknownOptionExitsWithTwo) {
    const Outcome outcome = RunHush({{"--no-such-option"}, {}, 0, 0ms});
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

    const Outcome outcome = RunHush({{"--windowed", "--data", folder}, {}, 0, 0ms});
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, 5);
    EXPECT_NE(outcome.err.find("vsm.fx("), std::string::npos) << outcome.err;
    std::system(("rm -rf " + std::string(folder)).c_str());
}

}  // namespace
