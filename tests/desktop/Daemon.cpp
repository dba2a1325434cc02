// fork/exec for the test servers, and their end.
#include "tests/desktop/Daemon.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace hushtest {

int SpawnDaemon(std::vector<std::string> arguments,
                const std::vector<std::pair<std::string, std::string>>& variables, int keepFd,
                const std::string& logPath) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(log, STDOUT_FILENO);
        dup2(log, STDERR_FILENO);
        for (const auto& [name, value] : variables) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        for (int fd = 3; fd < 256; ++fd) {
            if (fd != keepFd) {
                close(fd);
            }
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return child;
}

bool DaemonRunning(int pid) {
    siginfo_t info{};
    return pid > 0 && waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

void StopDaemon(int pid) {
    using namespace std::chrono_literals;
    if (pid <= 0) {
        return;
    }
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) != 0) {
            return;
        }
        std::this_thread::sleep_for(10ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}  // namespace hushtest
