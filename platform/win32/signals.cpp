// SIGINT and SIGTERM close the window instead of killing the process, so the
// teardown runs and the exit code stays 0. The handler only raises a flag;
// the next PeekMessageW turns it into WM_CLOSE. A second signal ends the
// process at once, so a start-up or teardown that never ends can always be
// stopped with Ctrl+C twice.
#include <win32_standin.h>

#include "standin.h"

#include <SDL2/SDL.h>
#include <unistd.h>

#include <atomic>
#include <csignal>

namespace {

// Lock-free, so the handler may use them.
std::atomic<int> g_closeRequested{0};
std::atomic<int> g_signalsReceived{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void RequestClose(int signal) {
    if (g_signalsReceived.fetch_add(1, std::memory_order_relaxed) > 0) {
        // The shell's convention for a process ended by a signal.
        _exit(128 + signal);
    }
    g_closeRequested.store(1, std::memory_order_relaxed);
}

}  // namespace

namespace win32 {

void CloseWindowOnSignals() {
    // SDL would otherwise turn SIGINT into SDL_QUIT when it starts.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action = {};
    action.sa_handler = RequestClose;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace win32

namespace win32::detail {

bool TakeCloseRequest() {
    return g_closeRequested.exchange(0, std::memory_order_relaxed) != 0;
}

}  // namespace win32::detail
