// The process entry in a browser: the page passes its URL's parameters as
// the command line (?windowed is --windowed, ?hold=T is --hold T, ?from=T
// is --from T), asks the start-up prompt itself when none answers it, and
// hands over to WinMain. There are no threads in the page: pictures decode
// when their textures are made, and capture and bench modes are not there.
#include "app/CommandLine.h"
#include "app/WinMain.h"
#include "app/Window.h"
#include "app/capture/FftTap.h"
#include "app/capture/HeldShow.h"
#include "app/capture/LaterStart.h"
#include "app/web_mode_prompt.h"

#include <d3d9_standin.h>
#include <win32_standin.h>

#include <iostream>

namespace {

ShowStart g_start;
FrameDoneHook g_heldFrameDone = nullptr;

void StartLoop() {
    TapFft(g_start.hold);
    if (g_start.hold) {
        BeginHeldFrames();
    } else if (g_start.from > 0.0) {
        StartShowAt(g_start.from);
    }
}

// The first frame, at the held or starting time, is the one the page was
// asked for.
bool FrameDone() {
    static bool first = true;
    if (first) {
        first = false;
        win32::PageReady();
    }
    return g_heldFrameDone == nullptr || g_heldFrameDone();
}

int Run(int argc, char** argv) {
    CommandLineOptions options;
    if (const std::optional<int> exitCode =
            ParseCommandLine(argc, argv, options, std::cout, std::cerr)) {
        return *exitCode;
    }
    if (!options.capture.out.empty() || options.bench.on) {
        std::cerr << "hush: capture and bench modes are not available in a browser\n";
        return kUsageExitCode;
    }
    if (!ApplyCommandLine(options, std::cerr)) {
        return kUsageExitCode;
    }
    d3d9::DecodeAheadAllowed(false);
    g_start = options.start;
    PrepareShowStart(g_start.from);
    if (g_start.hold) {
        StartHeldShow(g_start.holdAt);
        g_heldFrameDone = g_frameDoneHook;
    }
    g_loopStartHook = &StartLoop;
    g_frameDoneHook = &FrameDone;

    DisplayChoice display = options.display;
    if (display == DisplayChoice::Ask) {
        const ModeAnswer answer = AskModeOnPage();
        if (answer == ModeAnswer::Quit) {
            LeavePage();
            return 0;
        }
        display =
            answer == ModeAnswer::Fullscreen ? DisplayChoice::Fullscreen : DisplayChoice::Windowed;
    }
    g_modePromptAnswer = display == DisplayChoice::Fullscreen ? IDYES : IDNO;

    char commandLine[] = "";
    return WinMain(GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
}

}  // namespace

// The status the desktop's shell would see: the low byte of the entry's
// 32-bit result (E_FAIL ends with 5).
int main(int argc, char** argv) {
    const int status = Run(argc, argv) & 0xFF;
    win32::PageEnded(status);
    return status;
}
