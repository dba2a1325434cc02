// Starting later: the counter and the music's start both moved by T.
#include "app/capture/LaterStart.h"

#include <bass_standin.h>
#include <win32_standin.h>

#include <cmath>

void PrepareShowStart(double t) {
    bass::SetStartTime(t);
}

void StartShowAt(double t) {
    constexpr double kNanosecondsPerSecond = 1e9;
    win32::AdvanceClock(std::llround(t * kNanosecondsPerSecond));
}
