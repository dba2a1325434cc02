// The whole show in-process, start-up to teardown, two frames a second on a
// virtual clock, against the recording Direct3D backend: the render device
// library, the show, the effects and the music in capture mode run as in a
// capture, without a GL driver whose caches grow as new content first
// appears. Every frame path is then steady: the heap holds no more after the
// last frame than after the first.
#include "app/capture/FftTap.h"
#include "app/capture/MemoryReport.h"
#include "app/WinMain.h"
#include "app/Window.h"
#include "render/RenderDevice.h"
#include "show/ShowObjects.h"
#include "show/ShowState.h"

#include <bass_standin.h>
#include <d3d9_record.h>
#include <win32_standin.h>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr std::int64_t kStartCount = 1'000'000'000;
constexpr std::int64_t kCountsPerFrame = 500'000'000;

struct LongRun {
    int frames = 0;
    std::size_t firstHeap = 0;
    std::size_t lastHeap = 0;
    float lastClock = 0.0f;
};

LongRun g_run;

void StartLoop() {
    TapFft(true);
}

// The recorded calls are dropped each frame, so what stays is the show's.
bool AfterFrame() {
    d3d9::ClearRecordedCalls(g_renderDevice->d3dDevice);
    const std::size_t heap = MeasureMemory().heapBytes;
    if (g_run.frames == 0) {
        g_run.firstHeap = heap;
    }
    g_run.lastHeap = heap;
    g_run.lastClock = g_show.showClock;
    ++g_run.frames;
    win32::SetVirtualClock(kStartCount + g_run.frames * kCountsPerFrame);
    return true;
}

TEST(LongRunTest, TheWholeShowHoldsNoMoreHeapAfterItsLastFrameThanAfterItsFirst) {
    d3d9::UseRecordingBackend(true);
    bass::SetCaptureMode(true);
    win32::UseVirtualClock(true);
    win32::SetVirtualClock(kStartCount);
    g_modePromptAnswer = IDNO;
    g_loopStartHook = &StartLoop;
    g_frameDoneHook = &AfterFrame;

    char commandLine[] = "";
    ASSERT_EQ(WinMain(GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOWDEFAULT), 0);
    // 0, 0.5, ... 180.5: the show ends itself in the first frame past 180 s.
    EXPECT_EQ(g_run.frames, 362);
    EXPECT_EQ(g_run.lastClock, 180.5f);
    EXPECT_LE(g_run.lastHeap, g_run.firstHeap)
        << "the heap grew by " << g_run.lastHeap - g_run.firstHeap << " bytes";
}

}  // namespace
