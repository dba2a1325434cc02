// Holding the show clock: the capture clock's count for T, the timer moved
// up to one frame before it.
#include "app/capture/HeldClock.h"

#include "app/capture/CaptureClock.h"
#include "app/Timer.h"

#include <win32_standin.h>

void HoldShowClockAt(double t, int fps, std::int64_t countsPerSecond) {
    const CaptureClock clock(fps, t, countsPerSecond);
    const std::int64_t count = clock.CountAt(0);
    win32::SetVirtualClock(count - countsPerSecond / fps);
    g_timer->Update(0.0f);
    win32::SetVirtualClock(count);
}
