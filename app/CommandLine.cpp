// The command line, parsed with CLI11.
#include "app/CommandLine.h"

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

}  // namespace

std::optional<int> ParseCommandLine(int argc, const char* const* argv, CommandLineOptions& options,
                                    std::ostream& out, std::ostream& err) {
    CLI::App app{"A real-time audiovisual show.", kProgram};
    app.set_version_flag("--version", kVersion, "Print the version and exit");

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
                   "The folder that holds data/ and textures/ (default: the working directory)")
        ->type_name("DIR")
        ->check(CLI::ExistingDirectory.description(""));

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

    options.display = windowed     ? DisplayChoice::Windowed
                      : fullscreen ? DisplayChoice::Fullscreen
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
    if (!options.dataDir.empty() && chdir(options.dataDir.c_str()) != 0) {
        err << kProgram << ": cannot change to data folder '" << options.dataDir
            << "': " << std::strerror(errno) << "\n";
        return false;
    }
    return true;
}
