// The command line: options that answer the start-up prompt in advance and
// set up the run's environment. Without options the program behaves as it
// always has: it asks.
#pragma once

#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

enum class DisplayChoice { Ask, Windowed, Fullscreen };

// --capture OUT [--fps N] [--from T0] [--to T1]: the show rendered offscreen
// frame by frame on a virtual clock, written to OUT.
struct CaptureSettings {
    // Absolute; empty: no capture. A name ending in ".mp4" or ".mkv" is a
    // video made by ffmpeg; anything else is a folder of PNG frames.
    std::string out;
    int fps = 60;
    // The first frame's show clock, in seconds.
    double from = 0.0;
    // No frame whose show clock passes this is captured.
    double to = std::numeric_limits<double>::infinity();
};

// --bench [--at T,...] [--frames N] [--json]: the show rendered offscreen
// with its clock held at each time for a number of frames, timed.
struct BenchSettings {
    bool on = false;
    // Show times; empty: one time in each stretch of the schedule.
    std::vector<double> at;
    int frames = 200;
    bool json = false;
};

// A plain run shown from a later show time (--from T), or held at one
// (--hold T): the clock held there frame after frame, the music analysed
// there, as a bench at T would time it.
struct ShowStart {
    double from = 0.0;
    bool hold = false;
    double holdAt = 0.0;
};

struct CommandLineOptions {
    DisplayChoice display = DisplayChoice::Ask;
    ShowStart start;
    std::string logFile;    // empty: the HTML log stays off
    std::string dataDir;    // empty: see ChooseDataFolder
    std::string traceFile;  // absolute; empty: no call trace
    CaptureSettings capture;
    BenchSettings bench;
};

// Exit status for an unknown option or a bad value.
constexpr int kUsageExitCode = 2;

// Fills options from argv; the trace and capture names are made absolute
// against the working directory. Returns an exit code when the program should stop
// here: 0 after --help or --version (printed to out), kUsageExitCode after an
// error (explained on err).
std::optional<int> ParseCommandLine(int argc, const char* const* argv, CommandLineOptions& options,
                                    std::ostream& out, std::ostream& err);

// Turns the HTML log on and changes to the data folder (ChooseDataFolder:
// --data, else the working directory, else the installed data). The log file
// name is taken relative to the folder the program was started in. False
// (with the reason on err) when either fails.
bool ApplyCommandLine(const CommandLineOptions& options, std::ostream& err);
