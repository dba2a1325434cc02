// Runs the real executable from the run folder as a child process and
// collects its exit status and output, for the tests of the binary.
#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace hushtest {

struct Outcome {
    bool exited = false;  // false: killed by a signal, or by the deadline
    int exitCode = -1;
    int killedBy = 0;  // the signal that ended it, when it did not exit
    std::string out;
    std::string err;
};

struct Launch {
    std::vector<std::string> arguments;
    // The executable (a bare name is looked up on the PATH); empty runs the
    // run folder's hush.
    std::string program;
    std::vector<const char*> unsetVariables;
    int signal = 0;  // sent after signalDelay when not 0
    std::chrono::milliseconds signalDelay = std::chrono::milliseconds(1000);
    // Sent again after signalGap when not 0.
    int secondSignal = 0;
    std::chrono::milliseconds signalGap = std::chrono::milliseconds(200);
    // The delay counts from the moment the process catches SIGINT and
    // SIGTERM (its handlers are in place) instead of from its start.
    bool signalAfterHandlers = false;
    // Killed (and reported as not exited) when it runs longer.
    std::chrono::seconds deadline = std::chrono::seconds(60);
    std::vector<std::pair<std::string, std::string>> setVariables;
};

// A child process started and not yet waited for; killed and reaped when it
// goes unwaited.
class Child {
public:
    Child() = default;
    Child(int pid, std::string outPath, std::string errPath);
    ~Child();
    Child(Child&& other) noexcept;
    Child& operator=(Child&& other) noexcept;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    int Pid() const { return pid_; }
    bool Started() const { return pid_ > 0; }
    void Signal(int signal) const;
    // Waits for the end, killing it once the deadline has passed, and
    // collects its output.
    Outcome Wait(std::chrono::milliseconds deadline);

private:
    int pid_ = -1;
    std::string outPath_;
    std::string errPath_;
};

// Starts the program (launch.signal and launch.deadline are RunHush's).
Child StartHush(const Launch& launch);

Outcome RunHush(const Launch& launch);

// These arguments, the environment as it is, no signal.
Outcome RunHush(std::vector<std::string> arguments);

// These arguments, and a signal after a delay.
Outcome RunHush(std::vector<std::string> arguments, int signal, std::chrono::milliseconds delay);

std::string ReadFile(const std::string& path);

// Lines of the text (an output, a file read whole), without their line ends.
std::vector<std::string> Lines(const std::string& text);

// A fresh name under /tmp (the file is created empty).
std::string TempFile(const char* stem);

}  // namespace hushtest
