// The OpenGL context a device draws with, on the device's window or on a
// hidden window of its own: OpenGL 3.3 core, or OpenGL ES 3.0 (WebGL 2's
// rules) when the environment sets HUSH_D3D9_GLES=1. What the backend may
// use is read from the capabilities below, which each context sets.
#pragma once

#include <SDL2/SDL.h>

#include <memory>
#include <string>

class GlContext {
public:
    // window null: offscreen, on a hidden window made here. SDL's video is
    // started if need be and, like the GL library, kept. On failure returns null and says why in
    // failure, naming the OpenGL version and renderer that were found.
    static std::unique_ptr<GlContext> Create(SDL_Window* window, std::string* failure);
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    // Whether contexts created from now on may use glClipControl.
    static void AllowClipControl(bool allowed);

    // Makes the context current; costs one comparison when it already is.
    // Once the device's window is gone (teardown destroys the window before
    // the effects and buffers are released), the context goes on over a
    // hidden window of its own.
    void MakeCurrent();
    // The window to present into; null when offscreen or when it is gone.
    SDL_Window* PresentWindow() const { return WindowAlive() ? window_ : nullptr; }
    // Whether clip-space z in [0, 1] comes from clip control, which the
    // context turned on when it was made (otherwise the vertex stages
    // rewrite z).
    bool HasClipControl() const { return clipControl_; }
    // Whether the context follows OpenGL ES 3.0's rules, as WebGL 2 does: no
    // buffer textures, GL_BGRA, base-vertex draws, border clamping, polygon
    // modes or sample counts; depth values given as floats; shaders in
    // GLSL ES 3.00.
    bool IsEs() const { return es_; }
    // Whether a texture's whole mipmap chain can be allocated at once
    // (glTexStorage2D).
    bool HasTextureStorage() const { return textureStorage_; }

private:
    GlContext() = default;
    bool WindowAlive() const;

    SDL_Window* window_ = nullptr;
    Uint32 windowId_ = 0;
    bool ownsWindow_ = false;
    SDL_Window* fallbackWindow_ = nullptr;
    SDL_GLContext context_ = nullptr;
    bool clipControl_ = false;
    bool textureStorage_ = false;
    bool es_ = false;
};
