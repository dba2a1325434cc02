// The command line, parsed with CLI11.
#include "app/CommandLine.h"

#include "app/DataFolder.h"
#include "app/HtmlLog.h"

#include <CLI/CLI.hpp>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kProgram = "hush";
constexpr const char* kVersion = "hush 1.0.0";
constexpr int kMaxFps = 1000;
constexpr int kMaxBenchFrames = 100000;

// A time on the show clock: a finite number of seconds from 0 to a bound far
// past the show's end, so that counts of nanoseconds stay well inside 64 bits.
constexpr double kLatestTime = 1e6;
const CLI::Validator kShowTime(
    [](const std::string& text) -> std::string {
        double seconds = 0.0;
        if (!CLI::detail::lexical_cast(text, seconds) || !(seconds >= 0.0) ||
            !(seconds <= kLatestTime)) {
            return "Value " + text + " is not a time from 0 to 1000000 seconds";
        }
        return {};
    },
    "");

// A time the benchmark holds the show at: inside the show's 180 seconds.
const CLI::Validator kBenchTime(
    [](const std::string& text) -> std::string {
        double seconds = 0.0;
        if (!CLI::detail::lexical_cast(text, seconds) || !(seconds >= 0.0) || !(seconds <= 180.0)) {
            return "Value " + text + " is not a show time from 0 to 180 seconds";
        }
        return {};
    },
    "");

// Relative names are taken from the folder the program was started in,
// before --data changes it.
bool MakeAbsolute(std::string& path, const char* what, std::ostream& err) {
    if (path.empty()) {
        return true;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) {
        err << kProgram << ": cannot use " << what << " '" << path << "': " << error.message()
            << "\n";
        return false;
    }
    path = absolute.string();
    return true;
}

}  // namespace

std::optional<int> ParseCommandLine(int argc, const char* const* argv, CommandLineOptions& options,
                                    std::ostream& out, std::ostream& err) {
    CLI::App app{"A real-time audiovisual show.", kProgram};
    app.set_version_flag("--version", kVersion, "Print the version and exit");
    app.footer(
        "Exit status: 0 after the show (or a quit at the prompt); 2 for a bad command line; "
        "3 when a capture cannot start (no ffmpeg, no folder); 4 when a capture fails or stops "
        "before its last frame; 5 when the show cannot start.");

    bool windowed = false;
    bool fullscreen = false;
    CLI::Option* windowedFlag =
        app.add_flag("--windowed", windowed, "Run in a window (answers the start-up prompt)");
    CLI::Option* fullscreenFlag =
        app.add_flag("--fullscreen", fullscreen, "Run fullscreen (answers the start-up prompt)");
    windowedFlag->excludes(fullscreenFlag);
    app.add_option("--log", options.logFile, "Write the HTML log, appending to FILE")
        ->type_name("FILE");
    app.add_option("--data", options.dataDir,
                   "The folder that holds data/ and textures/ (default: the working directory "
                   "when it holds data/, else the installed data folder)")
        ->type_name("DIR")
        ->check(CLI::ExistingDirectory.description(""));
    app.add_option("--trace", options.traceFile,
                   "Write a JSON Lines trace of every render-device, effect and draw call and "
                   "of each frame's music values to FILE")
        ->type_name("FILE");

    CaptureSettings& capture = options.capture;
    CLI::Option* captureOption =
        app.add_option("--capture", capture.out,
                       "Render the show offscreen on a virtual clock into OUT: a video when OUT "
                       "ends in .mp4 or .mkv (made by ffmpeg, with the music), otherwise a "
                       "folder of PNG frames")
            ->type_name("OUT");
    captureOption->excludes(fullscreenFlag);
    app.add_option("--fps", capture.fps, "Capture frames per second (default 60)")
        ->type_name("N")
        ->check(CLI::Range(1, kMaxFps).description(""))
        ->needs(captureOption);
    double from = 0.0;
    CLI::Option* fromOption =
        app.add_option("--from", from,
                       "Show clock of the first captured frame, or where a run starts (default 0)")
            ->type_name("T0")
            ->check(kShowTime);
    CLI::Option* toOption =
        app.add_option("--to", capture.to,
                       "Capture no frame whose show clock passes T1 (default: the show's end)")
            ->type_name("T1")
            ->check(kShowTime)
            ->needs(captureOption);

    BenchSettings& bench = options.bench;
    CLI::Option* benchFlag =
        app.add_flag("--bench", bench.on,
                     "Time the show offscreen at 1024x768 with its clock held at each of the "
                     "--at times, and print where the frame time goes");
    benchFlag->excludes(captureOption);
    app.add_option("--at", bench.at,
                   "Show times to benchmark, comma-separated (default: one in each stretch of "
                   "the schedule)")
        ->type_name("T,...")
        ->delimiter(',')
        ->check(kBenchTime)
        ->needs(benchFlag);
    app.add_option("--frames", bench.frames, "Frames timed at each time (default 200)")
        ->type_name("N")
        ->check(CLI::Range(1, kMaxBenchFrames).description(""))
        ->needs(benchFlag);
    app.add_flag("--json", bench.json, "Print the benchmark as one JSON object")->needs(benchFlag);
    CLI::Option* holdOption =
        app.add_option("--hold", options.start.holdAt,
                       "Show the show with its clock held at T (and the music analysed there), "
                       "frame after frame until Escape")
            ->type_name("T")
            ->check(kBenchTime)
            ->excludes(captureOption)
            ->excludes(benchFlag)
            ->excludes(fromOption);
    benchFlag->excludes(fromOption);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help, out, err);
    } catch (const CLI::CallForVersion& version) {
        return app.exit(version, out, err);
    } catch (const CLI::ParseError& error) {
        err << kProgram << ": " << error.what() << "\n"
            << "Run with --help for more information.\n";
        return kUsageExitCode;
    }

    if (captureOption->count() > 0 && capture.out.empty()) {
        err << kProgram << ": --capture needs a folder or a .mp4/.mkv file name\n";
        return kUsageExitCode;
    }
    options.start.hold = holdOption->count() > 0;
    if (captureOption->count() > 0) {
        capture.from = from;
    } else {
        options.start.from = from;
    }
    if (toOption->count() > 0 && capture.to < capture.from) {
        err << kProgram << ": --to " << capture.to << " lies before --from " << capture.from
            << "\n";
        return kUsageExitCode;
    }
    if (!MakeAbsolute(options.traceFile, "trace file", err) ||
        !MakeAbsolute(capture.out, "capture output", err)) {
        return kUsageExitCode;
    }

    // A capture or a benchmark answers the prompt as a window does, unless a
    // benchmark is asked for fullscreen (a screen shows it when
    // SDL_VIDEODRIVER names one).
    options.display = fullscreen ? DisplayChoice::Fullscreen
                      : windowed || captureOption->count() > 0 || bench.on ? DisplayChoice::Windowed
                                                                           : DisplayChoice::Ask;
    return std::nullopt;
}

bool ApplyCommandLine(const CommandLineOptions& options, std::ostream& err) {
    if (!options.logFile.empty()) {
        std::error_code error;
        const std::filesystem::path log = std::filesystem::absolute(options.logFile, error);
        if (error) {
            err << kProgram << ": cannot use log file '" << options.logFile
                << "': " << error.message() << "\n";
            return false;
        }
        if (!EnableHtmlLog(log.c_str())) {
            err << kProgram << ": cannot use log file '" << options.logFile
                << "': its path is longer than " << HtmlLog::kFileNameSize - 1 << " characters\n";
            return false;
        }
    }
    const std::string dataFolder = ChooseDataFolder(options.dataDir, InstalledDataFolder());
    if (!dataFolder.empty() && chdir(dataFolder.c_str()) != 0) {
        err << kProgram << ": cannot change to data folder '" << dataFolder
            << "': " << std::strerror(errno) << "\n";
        return false;
    }
    return true;
}
