// The process entry on this platform: reads the command line, makes Ctrl+C
// close the window, and hands over to WinMain.
#include "app/CommandLine.h"
#include "app/WinMain.h"

#include <win32_standin.h>

#include <iostream>

int main(int argc, char** argv) {
    CommandLineOptions options;
    if (const std::optional<int> exitCode =
            ParseCommandLine(argc, argv, options, std::cout, std::cerr)) {
        return *exitCode;
    }
    if (!ApplyCommandLine(options, std::cerr)) {
        return kUsageExitCode;
    }
    if (options.display == DisplayChoice::Windowed) {
        g_modePromptAnswer = IDNO;
    } else if (options.display == DisplayChoice::Fullscreen) {
        g_modePromptAnswer = IDYES;
    }
    win32::CloseWindowOnSignals();

    // WinMain ignores its command line; the options above were its input.
    char commandLine[] = "";
    // Linux keeps the low byte of the 32-bit result: E_FAIL (0x80004005)
    // exits with status 5.
    return WinMain(GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
}
