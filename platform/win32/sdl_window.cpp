// The desktop's window surfaces: SDL windows with OpenGL, framed as Win32
// frames them.
#include <win32_standin.h>

#include "standin.h"

#include <SDL2/SDL.h>

namespace {

// How long a new window waits for its manager to say how large the frame
// is: a manager frames it within a few milliseconds of its showing; without
// one no frame comes.
constexpr Uint32 kFrameWaitMilliseconds = 100;

// False when the driver cannot tell (offscreen, say). SDL learns the frame
// from the manager's events, so they are pumped while waiting; they stay
// queued for the message loop.
bool FrameBorders(SDL_Window* sdl, int* top, int* left, int* bottom, int* right) {
    const Uint32 giveUp = SDL_GetTicks() + kFrameWaitMilliseconds;
    const bool shown = (SDL_GetWindowFlags(sdl) & SDL_WINDOW_SHOWN) != 0;
    while (SDL_GetWindowBordersSize(sdl, top, left, bottom, right) == 0) {
        if (*top != 0 || *left != 0 || *bottom != 0 || *right != 0 || !shown ||
            SDL_TICKS_PASSED(SDL_GetTicks(), giveUp)) {
            return true;
        }
        SDL_PumpEvents();
        SDL_Delay(2);
    }
    return false;
}

// Outer size and position include the frame; SDL places and sizes the
// client area, so the frame comes off where the driver reports it.
void FitFrameInto(SDL_Window* sdl, int x, int y, int width, int height) {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    if (!FrameBorders(sdl, &top, &left, &bottom, &right)) {
        return;
    }
    const int clientWidth = width - left - right;
    const int clientHeight = height - top - bottom;
    SDL_SetWindowSize(sdl, clientWidth > 0 ? clientWidth : 1, clientHeight > 0 ? clientHeight : 1);
    SDL_SetWindowPosition(sdl, x + left, y + top);
}

// A GL window's framebuffer is asked for with a 24-bit depth and 8-bit
// stencil buffer, as a Direct3D back buffer has, so that a device of the
// window's size can draw straight into it; where the display has no such
// framebuffer, with SDL's defaults. The request stays for the contexts made
// later (X11 chooses their framebuffer configuration then).
SDL_Window* CreateGlWindow(const char* title, int x, int y, int width, int height, Uint32 flags) {
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_Window* sdl = SDL_CreateWindow(title, x, y, width, height, flags);
    if (sdl == nullptr) {
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
        sdl = SDL_CreateWindow(title, x, y, width, height, flags);
    }
    return sdl;
}

SDL_Window* CreateSdlWindow(LPCWSTR title, DWORD style, int x, int y, int width, int height) {
    const bool popup = (style & WS_POPUP) != 0;
    const bool framed = !popup && (style & WS_CAPTION) != 0;
    // High-DPI: the drawable gets the screen's pixels, and the present fills
    // them rather than the window's points.
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
    flags |= (style & WS_VISIBLE) != 0 ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    if (popup) {
        flags |= SDL_WINDOW_BORDERLESS;
    }
    if ((style & WS_THICKFRAME) != 0) {
        flags |= SDL_WINDOW_RESIZABLE;
    }
    const int clampedWidth = width > 0 ? width : 1;
    const int clampedHeight = height > 0 ? height : 1;
    SDL_Window* sdl = CreateGlWindow(win32::detail::Utf8(title).c_str(), x, y, clampedWidth,
                                     clampedHeight, flags);
    if (sdl != nullptr && framed) {
        FitFrameInto(sdl, x, y, clampedWidth, clampedHeight);
    }
    return sdl;
}

}  // namespace

namespace win32 {

void* SdlWindowOf(HWND window) {
    return detail::SurfaceOfWindow(window);
}

}  // namespace win32

namespace win32::detail {

void* CreateSurface(LPCWSTR title, DWORD style, int x, int y, int width, int height) {
    if (!EnsureVideo()) {
        return nullptr;
    }
    return CreateSdlWindow(title, style, x, y, width, height);
}

void DestroySurface(void* surface) {
    SDL_DestroyWindow(static_cast<SDL_Window*>(surface));
}

bool ShowSurface(void* surface, bool show) {
    SDL_Window* sdl = static_cast<SDL_Window*>(surface);
    const bool wasVisible = (SDL_GetWindowFlags(sdl) & SDL_WINDOW_SHOWN) != 0;
    if (show) {
        SDL_ShowWindow(sdl);
    } else {
        SDL_HideWindow(sdl);
    }
    return wasVisible;
}

}  // namespace win32::detail
