// SDL's video subsystem, started on first use, and what reads the screen:
// the screen size and the cursor's display count.
#include "standin.h"

#include <SDL2/SDL.h>

#include <cstdlib>

namespace {

constexpr int kFallbackScreenWidth = 1024;
constexpr int kFallbackScreenHeight = 768;

bool g_videoTried = false;
bool g_videoStarted = false;
// Win32 shows the cursor while this count is 0 or more.
int g_cursorCount = 0;

bool StartVideo() {
    // Ctrl+C must reach the stand-in's own handler (CloseWindowOnSignals),
    // not become an SDL_QUIT event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const bool driverAskedFor = std::getenv("SDL_VIDEODRIVER") != nullptr;
    // Where no display is named there is none to probe for, and probing
    // makes some display libraries write their failure to stderr.
    const bool displayNamed =
        std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
    if ((driverAskedFor || displayNamed) && SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
        return true;
    }
    // No display answered and no driver was asked for: run offscreen, the
    // same code path without a screen.
    if (driverAskedFor) {
        return false;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

}  // namespace

namespace win32::detail {

bool EnsureVideo() {
    if (!g_videoTried) {
        g_videoTried = true;
        g_videoStarted = StartVideo();
        // Every window carries OpenGL. Loaded once here, the GL library stays
        // for the whole run instead of being loaded and dropped with each
        // window (which also leaks inside the driver on every unload).
        if (g_videoStarted) {
            SDL_GL_LoadLibrary(nullptr);
        }
    }
    return g_videoStarted;
}

// Whoever started it: the events of any SDL window belong to the queue.
bool VideoStarted() {
    return SDL_WasInit(SDL_INIT_VIDEO) != 0;
}

}  // namespace win32::detail

extern "C" {

int WINAPI GetSystemMetrics(int index) {
    SDL_DisplayMode mode;
    const bool known = win32::detail::EnsureVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0;
    switch (index) {
        case SM_CXSCREEN:
            return known ? mode.w : kFallbackScreenWidth;
        case SM_CYSCREEN:
            return known ? mode.h : kFallbackScreenHeight;
        default:
            return 0;
    }
}

int WINAPI ShowCursor(BOOL show) {
    g_cursorCount += show ? 1 : -1;
    if (win32::detail::EnsureVideo()) {
        SDL_ShowCursor(g_cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    }
    return g_cursorCount;
}

}  // extern "C"
