// Memory that runs out at any moment of start-up: the whole show in a child
// of this process, on the recording Direct3D backend as in a capture, with one
// allocation of start-up refused (the first, the last, and evenly between),
// then frames at times when the pictures, both models, the particles, the
// tunnel and the mask are drawn. What could not be allocated is either left
// out (the show goes on and exits 0) or stops start-up with its box and
// E_FAIL. Never an abort, a crash or "terminate called".
#include "app/capture/FftTap.h"
#include "app/WinMain.h"
#include "app/Window.h"
#include "render/RenderDevice.h"
#include "show/ShowObjects.h"
#include "tests/app/ReplacedAllocator.h"

#include <bass_standin.h>
#include <d3d9_record.h>
#include <win32_standin.h>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>

namespace {

constexpr std::int64_t kNanoseconds = 1'000'000'000;
constexpr std::int64_t kStartCount = kNanoseconds;
// Show times at which every kind of layer is on screen.
constexpr std::int64_t kFrameSeconds[] = {10, 60, 66, 106, 120, 175};
constexpr int kRefusals = 24;
constexpr int kStartupFailed = 5;

std::atomic<long> g_allocations{0};
std::atomic<bool> g_watching{false};
long g_refused = 0;  // the number of the allocation refused; 0 for none
int g_frames = 0;

bool RefuseOneAllocation() {
    if (!g_watching.load(std::memory_order_relaxed)) {
        return true;
    }
    return g_allocations.fetch_add(1, std::memory_order_relaxed) + 1 != g_refused;
}

// Start-up is over: nothing more is counted or refused.
void StopWatching() {
    g_watching = false;
    TapFft(true);
}

bool NextFrameTime() {
    d3d9::ClearRecordedCalls(g_renderDevice->d3dDevice);
    if (g_frames == static_cast<int>(std::size(kFrameSeconds))) {
        return false;
    }
    win32::SetVirtualClock(kStartCount + kFrameSeconds[g_frames++] * kNanoseconds);
    return true;
}

struct ChildRun {
    bool exited = false;
    int exitCode = -1;
    int signal = 0;
    std::string err;
    long startupAllocations = 0;
};

// In the child: start-up with allocation number `refused` failing, the
// frames, teardown; the count of start-up's allocations goes to `reportFd`.
[[noreturn]] void RunShow(long refused, int reportFd) {
    d3d9::UseRecordingBackend(true);
    bass::SetCaptureMode(true);
    win32::UseVirtualClock(true);
    win32::SetVirtualClock(kStartCount);
    g_modePromptAnswer = IDNO;
    g_loopStartHook = &StopWatching;
    g_frameDoneHook = &NextFrameTime;
    allocation::Watch(&RefuseOneAllocation);
    g_refused = refused;
    g_watching = true;
    char commandLine[] = "";
    const int result = WinMain(GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
    const long counted = g_allocations.load();
    if (write(reportFd, &counted, sizeof counted) != sizeof counted) {
        _exit(126);
    }
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(result & 0xFF);
}

ChildRun RunShowInChild(long refused) {
    ChildRun run;
    int errPipe[2];
    int reportPipe[2];
    if (pipe(errPipe) != 0 || pipe(reportPipe) != 0) {
        return run;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(errPipe[0]);
        close(reportPipe[0]);
        dup2(errPipe[1], STDERR_FILENO);
        RunShow(refused, reportPipe[1]);
    }
    close(errPipe[1]);
    close(reportPipe[1]);
    char buffer[4096];
    for (ssize_t n; (n = read(errPipe[0], buffer, sizeof buffer)) > 0;) {
        run.err.append(buffer, static_cast<std::size_t>(n));
    }
    if (read(reportPipe[0], &run.startupAllocations, sizeof run.startupAllocations) !=
        sizeof run.startupAllocations) {
        run.startupAllocations = 0;
    }
    close(errPipe[0]);
    close(reportPipe[0]);
    int status = 0;
    waitpid(child, &status, 0);
    run.exited = WIFEXITED(status);
    run.exitCode = run.exited ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return run;
}

TEST(StartupMemoryTest, EveryRefusedAllocationIsLeftOutOrStopsStartUpWithItsBox) {
#ifndef HUSH_REPLACES_ALLOCATOR
    GTEST_SKIP() << "AddressSanitizer replaces the allocator";
#endif
    const ChildRun whole = RunShowInChild(0);
    ASSERT_TRUE(whole.exited) << "signal " << whole.signal << "\n" << whole.err;
    ASSERT_EQ(whole.exitCode, 0) << whole.err;
    ASSERT_GT(whole.startupAllocations, 0);

    int leftOut = 0;
    int stopped = 0;
    for (int i = 0; i < kRefusals; ++i) {
        const long refused = 1 + i * (whole.startupAllocations - 1) / (kRefusals - 1);
        SCOPED_TRACE("allocation " + std::to_string(refused) + " of " +
                     std::to_string(whole.startupAllocations));
        const ChildRun run = RunShowInChild(refused);
        EXPECT_TRUE(run.exited) << "signal " << run.signal << "\n" << run.err;
        EXPECT_EQ(run.err.find("terminate called"), std::string::npos) << run.err;
        if (run.exitCode == kStartupFailed) {
            ++stopped;
            EXPECT_NE(run.err.find("Error: "), std::string::npos) << "no box: " << run.err;
        } else {
            ++leftOut;
            EXPECT_EQ(run.exitCode, 0) << run.err;
        }
    }
    std::printf(
        "%ld allocations in start-up; of %d refused, %d left content out and %d "
        "stopped start-up\n",
        whole.startupAllocations, kRefusals, leftOut, stopped);
}

}  // namespace
