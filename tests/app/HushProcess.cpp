// The child process: fork, redirect, adjust the environment, exec; then wait
// with a deadline.
#include "tests/app/HushProcess.h"

#include <win32_standin.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>

namespace hushtest {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string TempFile(const char* stem) {
    std::string path = "/tmp/hush_binary_" + std::string(stem) + "_XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd >= 0) {
        close(fd);
    }
    return path;
}

namespace {

// Whether /proc says the process catches both signals (the SigCgt mask), or
// has ended already.
bool CatchesCloseSignalsOrEnded(pid_t process) {
    std::ifstream status("/proc/" + std::to_string(process) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("State:", 0) == 0 && line.find('Z') != std::string::npos) {
            return true;
        }
        if (line.rfind("SigCgt:", 0) == 0) {
            const unsigned long long caught = std::stoull(line.substr(7), nullptr, 16);
            const unsigned long long wanted = (1ull << (SIGINT - 1)) | (1ull << (SIGTERM - 1));
            return (caught & wanted) == wanted;
        }
    }
    return false;
}

void WaitForSignalHandlers(pid_t process, std::chrono::seconds deadline) {
    const auto giveUp = std::chrono::steady_clock::now() + deadline;
    while (!CatchesCloseSignalsOrEnded(process) && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

}  // namespace

Child::Child(int pid, std::string outPath, std::string errPath)
    : pid_(pid), outPath_(std::move(outPath)), errPath_(std::move(errPath)) {}

Child::~Child() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        std::remove(outPath_.c_str());
        std::remove(errPath_.c_str());
    }
}

Child::Child(Child&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)),
      outPath_(std::move(other.outPath_)),
      errPath_(std::move(other.errPath_)) {}

Child& Child::operator=(Child&& other) noexcept {
    if (this != &other) {
        Child dropped(std::move(*this));
        pid_ = std::exchange(other.pid_, -1);
        outPath_ = std::move(other.outPath_);
        errPath_ = std::move(other.errPath_);
    }
    return *this;
}

void Child::Signal(int signal) const {
    if (pid_ > 0) {
        kill(pid_, signal);
    }
}

Outcome Child::Wait(std::chrono::milliseconds deadline) {
    using namespace std::chrono_literals;
    Outcome outcome;
    if (pid_ <= 0) {
        return outcome;
    }
    int status = 0;
    const auto giveUp = std::chrono::steady_clock::now() + deadline;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > giveUp) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(10ms);
    }
    pid_ = -1;
    outcome.exited = WIFEXITED(status);
    outcome.exitCode = outcome.exited ? WEXITSTATUS(status) : -1;
    outcome.killedBy = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    outcome.out = ReadFile(outPath_);
    outcome.err = ReadFile(errPath_);
    std::remove(outPath_.c_str());
    std::remove(errPath_.c_str());
    return outcome;
}

Child StartHush(const Launch& launch) {
    std::string outPath = TempFile("out");
    std::string errPath = TempFile("err");
    const std::string program =
        launch.program.empty() ? win32::ExecutableDir() + "hush" : launch.program;
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
        // Silent unless a test asks for sound: with no sound server, the
        // system's audio libraries write their failures to stderr.
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        for (const auto& [name, value] : launch.setVariables) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        // A bare name is looked up on the PATH.
        execvp(program.c_str(), argv.data());
        _exit(127);
    }
    if (child < 0) {
        std::remove(outPath.c_str());
        std::remove(errPath.c_str());
        return Child();
    }
    return Child(child, std::move(outPath), std::move(errPath));
}

Outcome RunHush(const Launch& launch) {
    Child child = StartHush(launch);
    if (child.Started() && launch.signal != 0) {
        if (launch.signalAfterHandlers) {
            WaitForSignalHandlers(child.Pid(), launch.deadline);
        }
        std::this_thread::sleep_for(launch.signalDelay);
        child.Signal(launch.signal);
        if (launch.secondSignal != 0) {
            std::this_thread::sleep_for(launch.signalGap);
            child.Signal(launch.secondSignal);
        }
    }
    return child.Wait(launch.deadline);
}

Outcome RunHush(std::vector<std::string> arguments) {
    Launch launch;
    launch.arguments = std::move(arguments);
    return RunHush(launch);
}

Outcome RunHush(std::vector<std::string> arguments, int signal, std::chrono::milliseconds delay) {
    Launch launch;
    launch.arguments = std::move(arguments);
    launch.signal = signal;
    launch.signalDelay = delay;
    return RunHush(launch);
}

}  // namespace hushtest
