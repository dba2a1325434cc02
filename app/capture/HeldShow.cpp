// The held run's hooks around the frames.
#include "app/capture/HeldShow.h"

#include "app/capture/CaptureClock.h"
#include "app/capture/HeldClock.h"
#include "app/Window.h"

#include <bass_standin.h>
#include <win32_standin.h>

namespace {

constexpr int kHeldFps = 60;

double g_heldTime = 0.0;
std::int64_t g_countsPerSecond = 0;

bool HoldAgain() {
    HoldShowClockAt(g_heldTime, kHeldFps, g_countsPerSecond);
    return true;
}

}  // namespace

void StartHeldShow(double t) {
    g_heldTime = t;
    LARGE_INTEGER frequency = {};
    QueryPerformanceFrequency(&frequency);
    g_countsPerSecond = frequency.QuadPart;
    bass::SetCaptureMode(true);
    win32::UseVirtualClock(true);
    win32::SetVirtualClock(CaptureClock::kStartCount);
    g_frameDoneHook = &HoldAgain;
}

void BeginHeldFrames() {
    HoldAgain();
}
