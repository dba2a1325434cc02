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
#include <thread>

namespace hushtest {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
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
    using namespace std::chrono_literals;
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
        for (const auto& [name, value] : launch.setVariables) {
            setenv(name.c_str(), value.c_str(), 1);
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
    const auto deadline = std::chrono::steady_clock::now() + launch.deadline;
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
