// Fullscreen over the window's display.
#include "fullscreen_window.h"

void CoverDisplay(GlWindow* window) {
    const int display = SDL_GetWindowDisplayIndex(window);
    SDL_Rect bounds;
    if (display >= 0 && SDL_GetDisplayBounds(display, &bounds) == 0) {
        SDL_SetWindowPosition(window, bounds.x, bounds.y);
        SDL_SetWindowSize(window, bounds.w, bounds.h);
    }
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
}
