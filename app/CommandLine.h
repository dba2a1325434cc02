// The command line: options that answer the start-up prompt in advance and
// set up the run's environment. Without options the program behaves as it
// always has: it asks.
#pragma once

#include <optional>
#include <ostream>
#include <string>

enum class DisplayChoice { Ask, Windowed, Fullscreen };

struct CommandLineOptions {
    DisplayChoice display = DisplayChoice::Ask;
    std::string logFile;  // empty: the HTML log stays off
    std::string dataDir;  // empty: the working directory holds the data
};

// Exit status for an unknown option or a bad value.
constexpr int kUsageExitCode = 2;

// Fills options from argv. Returns an exit code when the program should stop
// here: 0 after --help or --version (printed to out), kUsageExitCode after an
// error (explained on err).
std::optional<int> ParseCommandLine(int argc, const char* const* argv, CommandLineOptions& options,
                                    std::ostream& out, std::ostream& err);

// Turns the HTML log on and changes to the data folder. The log file name is
// taken relative to the folder the program was started in. False (with the
// reason on err) when either fails.
bool ApplyCommandLine(const CommandLineOptions& options, std::ostream& err);
