// The desktop's stream clock: the steady clock.
#include "platform/bass/PlayClock.h"

#include <chrono>

namespace bass {

std::int64_t MonotonicNanos() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace bass
