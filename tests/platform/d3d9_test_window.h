// What the tests that draw into a window share: the window, made with the
// framebuffer the Win32 stand-in asks for, and whether the context draws
// into windows at all.
#pragma once

#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>

namespace d3d9test {

// A shown OpenGL window of the given drawable size, with a 24-bit depth and
// 8-bit stencil buffer; null (SDL_GetError says why) when it cannot be had.
inline SDL_Window* CreateGlWindow(int width, int height) {
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    return SDL_CreateWindow("device", 0, 0, width, height, SDL_WINDOW_OPENGL);
}

// Devices draw straight into windows on desktop OpenGL, not on the ES
// context that the same tests run on with HUSH_D3D9_GLES=1.
inline bool DrawsIntoWindows() {
    const char* es = std::getenv("HUSH_D3D9_GLES");
    return es == nullptr || std::strcmp(es, "1") != 0;
}

}  // namespace d3d9test
