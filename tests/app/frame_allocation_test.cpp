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

#include <d3d9_record.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <sstream>
#include <vector>

#if !defined(__SANITIZE_ADDRESS__)
#define HUSH_COUNTS_ALLOCATIONS 1
#endif

// The replaced operators below pair malloc with free, which GCC cannot see
// through where it inlines them.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {

bool g_counting = false;
long g_allocations = 0;

}  // namespace

#ifdef HUSH_COUNTS_ALLOCATIONS

namespace {

void* Allocate(std::size_t size) {
    if (g_counting) {
        ++g_allocations;
    }
    return std::malloc(size > 0 ? size : 1);
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
    if (g_counting) {
        ++g_allocations;
    }
    const std::size_t align = static_cast<std::size_t>(alignment);
    return std::aligned_alloc(align, (size + align - 1) / align * align);
}

}  // namespace

void* operator new(std::size_t size) {
    if (void* block = Allocate(size)) {
        return block;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    if (void* block = AllocateAligned(size, alignment)) {
        return block;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return operator new(size, alignment);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
    std::free(block);
}

#endif

namespace {

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
#ifndef HUSH_COUNTS_ALLOCATIONS
    GTEST_SKIP() << "AddressSanitizer replaces the allocator";
#endif
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
