// The OpenGL context a device draws with, on the device's window or on a
// hidden window of its own: OpenGL 3.3 core, or OpenGL ES 3.0 (WebGL 2's
// rules) when the environment sets HUSH_D3D9_GLES=1 (gl_context.cpp); in a
// browser, WebGL 2 on the page's canvas (web_gl_context.cpp). What the
// backend may use is read from the capabilities below, which each context
// sets.
#pragma once

#include <memory>
#include <string>

#ifdef __EMSCRIPTEN__
#include <emscripten/html5_webgl.h>

// The page's canvas, named by its CSS selector.
using GlWindow = const char;
#else
#include <SDL2/SDL.h>

using GlWindow = SDL_Window;
#endif

class GlContext {
public:
    // window null: offscreen, on a hidden window made here. SDL's video is
    // started if need be and, like the GL library, kept. On failure returns null and says why in
    // failure, naming the OpenGL version and renderer that were found.
    static std::unique_ptr<GlContext> Create(GlWindow* window, std::string* failure);
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
    // Whether the last MakeCurrent that bound the context put it over its
    // hidden window because the device's window is gone.
    bool OverHiddenWindow() const { return overHiddenWindow_; }
    // The window to present into; null when offscreen or when it is gone.
    GlWindow* PresentWindow() const { return WindowAlive() ? window_ : nullptr; }
    // The present window's size in pixels.
    void DrawableSize(int* width, int* height) const;
    // Shows what was drawn into the present window: a swap on the desktop;
    // in a browser the page composites the canvas when it next gets control.
    void Swap();
    // 0: presents do not wait for the display; 1: each waits for its refresh.
    void SetSwapInterval(int interval);
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

    GlWindow* window_ = nullptr;
#ifdef __EMSCRIPTEN__
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context_ = 0;
#else
    bool ownsWindow_ = false;
    Uint32 windowId_ = 0;
    SDL_Window* fallbackWindow_ = nullptr;
    SDL_GLContext context_ = nullptr;
#endif
    bool overHiddenWindow_ = false;
    bool clipControl_ = false;
    bool textureStorage_ = false;
    bool es_ = false;
};
