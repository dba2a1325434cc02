// Nothing allocates in the frame path: the whole show runs in this process
// (start-up, then frames at two busy times on the bench's held clock) while
// every operator new is counted. Built twice: on the Direct3D stand-in's
// recording backend with its log off (the system's own code without a
// driver), where no frame after the first at each time may allocate; and on
// the OpenGL device offscreen, where Mesa's software rasteriser compiles
// (with LLVM, through operator new) the shader variants of states it first
// meets during the first few frames, so the bench's warm-up frames are
// spared and every frame timed after them must allocate nothing. Each build
// runs the show once per process.
#include "app/bench/Bench.h"
#include "app/capture/FftTap.h"
#include "app/WinMain.h"
#include "app/Window.h"
#include "render/RenderDevice.h"
#include "show/ShowObjects.h"
#include "tests/app/ReplacedAllocator.h"

#include <d3d9_record.h>
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

bool g_counting = false;
long g_allocations = 0;

bool CountAllocation() {
    if (g_counting) {
        ++g_allocations;
    }
    return true;
}

constexpr int kFramesPerTime = 20;
// The bench's uncounted frames before the timed ones at each time.
constexpr int kWarmupFrames = 10;
#ifdef HUSH_RECORDING_BACKEND
constexpr int kFirstCheckedFrame = 1;
#else
constexpr int kFirstCheckedFrame = kWarmupFrames;
#endif

FrameDoneHook g_benchFrameDone = nullptr;
std::vector<long> g_allocationsPerFrame;

// Ends the frame's count; the next one runs until the next frame ends.
bool CountedFrameDone() {
    g_counting = false;
    g_allocationsPerFrame.push_back(g_allocations);
    g_allocations = 0;
    const bool more = g_benchFrameDone();
    g_counting = true;
    return more;
}

void StartCountedLoop() {
    TapFft(true);
#ifdef HUSH_RECORDING_BACKEND
    d3d9::KeepRecordedCalls(g_renderDevice->d3dDevice, false);
    d3d9::ClearRecordedCalls(g_renderDevice->d3dDevice);
#endif
    BeginBenchFrames();
    g_counting = true;
}

TEST(FrameAllocationTest, NoFrameAllocatesOnceTheShowRunsAtATime) {
#ifndef HUSH_REPLACES_ALLOCATOR
    GTEST_SKIP() << "AddressSanitizer replaces the allocator";
#endif
    allocation::Watch(&CountAllocation);
#ifdef HUSH_RECORDING_BACKEND
    d3d9::UseRecordingBackend(true);
#endif
    BenchSettings settings;
    settings.on = true;
    // The busiest times: both particle systems over pictures and models,
    // and the second system reset every frame over the tunnel and model Q.
    settings.at = {66.0, 106.5};
    settings.frames = kFramesPerTime;
    StartBench(settings);
    g_benchFrameDone = g_frameDoneHook;
    g_frameDoneHook = &CountedFrameDone;
    g_loopStartHook = &StartCountedLoop;
    g_modePromptAnswer = IDNO;
    const int frames = int(settings.at.size()) * (kWarmupFrames + kFramesPerTime);
    g_allocationsPerFrame.reserve(std::size_t(frames));

    char commandLine[] = "";
    const int result = WinMain(GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
    g_counting = false;
    std::ostringstream out, err;
    ASSERT_EQ(result, 0);
    ASSERT_EQ(FinishBench(result, out, err), 0) << err.str();

    ASSERT_EQ(g_allocationsPerFrame.size(), std::size_t(frames));
    for (int frame = 0; frame < frames; ++frame) {
        if (frame % (kWarmupFrames + kFramesPerTime) >= kFirstCheckedFrame) {
            EXPECT_EQ(g_allocationsPerFrame[std::size_t(frame)], 0) << "frame " << frame;
        }
    }
}

}  // namespace
