// The process entry on this platform: reads the command line, sets up the
// trace and capture mode, makes Ctrl+C close the window, and hands over to
// WinMain.
#include "app/bench/Bench.h"
#include "app/capture/Capture.h"
#include "app/CommandLine.h"
#include "app/capture/FftTap.h"
#include "app/capture/FrameTrace.h"
#include "app/capture/HeldShow.h"
#include "app/capture/LaterStart.h"
#include "app/WinMain.h"
#include "app/Window.h"

#include <d3d9_standin.h>
#include <win32_standin.h>

#include <exception>
#include <iostream>

namespace {

bool g_capturing = false;
bool g_benching = false;
ShowStart g_start;

// Start-up is over: the analyser and the timer exist, the first frame is next.
void StartLoop() {
    TapFft(g_capturing || g_benching || g_start.hold);
    if (g_capturing) {
        BeginCaptureFrames();
    }
    if (g_benching) {
        BeginBenchFrames();
    }
    if (g_start.hold) {
        BeginHeldFrames();
    } else if (g_start.from > 0.0) {
        StartShowAt(g_start.from);
    }
}

}  // namespace

// Nothing the run throws ends it with an abort: what escapes the entry
// point's own handling is reported and ends the run as a failure.
int main(int argc, char** argv) try {
    // First of all, so Ctrl+C at any later moment ends the run through the
    // teardown (before the window exists it ends the loop as soon as it
    // starts) rather than killing the process mid-way.
    win32::CloseWindowOnSignals();
    CommandLineOptions options;
    if (const std::optional<int> exitCode =
            ParseCommandLine(argc, argv, options, std::cout, std::cerr)) {
        return *exitCode;
    }
    g_capturing = !options.capture.out.empty();
    g_benching = options.bench.on;
    const bool tracing = !options.traceFile.empty();
    // A capture that cannot be made says so before anything has been done.
    if (g_capturing && !CheckCapture(options.capture, std::cerr)) {
        return kCaptureSetupExitCode;
    }
    if (!ApplyCommandLine(options, std::cerr)) {
        return kUsageExitCode;
    }
    // Opened before start-up, so start-up's calls are in the trace.
    if (tracing && !StartTrace(options.traceFile, std::cerr)) {
        return kUsageExitCode;
    }
    if (g_capturing && !StartCapture(std::cerr)) {
        return kCaptureSetupExitCode;
    }
    // What is shown in a window is never read back: a window the back
    // buffer's size takes the frames as they are drawn, without a copy.
    if (!g_capturing) {
        d3d9::DrawIntoWindows(true);
    }
    if (g_benching) {
        StartBench(options.bench);
    }
    g_start = options.start;
    PrepareShowStart(g_start.from);
    if (g_start.hold) {
        StartHeldShow(g_start.holdAt);
    }
    if (g_capturing || g_benching || tracing || g_start.hold || g_start.from > 0.0) {
        g_loopStartHook = &StartLoop;
    }
    if (options.display == DisplayChoice::Windowed) {
        g_modePromptAnswer = IDNO;
    } else if (options.display == DisplayChoice::Fullscreen) {
        g_modePromptAnswer = IDYES;
    }

    // WinMain ignores its command line; the options above were its input.
    char commandLine[] = "";
    // Linux keeps the low byte of the 32-bit result: E_FAIL (0x80004005)
    // exits with status 5.
    const int result = WinMain(GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
    StopTrace();
    if (g_benching) {
        return FinishBench(result, std::cout, std::cerr);
    }
    return g_capturing ? FinishCapture(result, std::cerr) : result;
} catch (const std::exception& error) {
    std::cerr << "hush: " << error.what() << '\n';
    return E_FAIL;
}
