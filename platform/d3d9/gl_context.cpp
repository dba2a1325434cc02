// Context creation with the version check, and the current-context cache.
#include "gl_context.h"

#include "gl_api.h"

#include <cstdlib>
#include <cstring>

namespace {

bool g_clipControlAllowed = true;

bool EsFromEnvironment() {
    const char* setting = std::getenv("HUSH_D3D9_GLES");
    return setting != nullptr && std::strcmp(setting, "1") == 0;
}

SDL_Window* CreateHiddenGlWindow() {
    return SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 16, 16,
                            SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
}

const char* GlString(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text != nullptr ? reinterpret_cast<const char*>(text) : "unknown";
}

// What the machine offers when 3.3 core is not there: any context at all.
std::string DescribeAvailableGl(SDL_Window* window) {
    SDL_GL_ResetAttributes();
    SDL_GLContext any = SDL_GL_CreateContext(window);
    if (any == nullptr) {
        return std::string("no OpenGL context could be created (") + SDL_GetError() + ")";
    }
    std::string found =
        std::string("found OpenGL ") + GlString(GL_VERSION) + " on " + GlString(GL_RENDERER);
    SDL_GL_DeleteContext(any);
    return found;
}

// Once loaded, SDL's video and the GL library stay until the process ends:
// SDL unloads the GL driver with the last GL window, and unloading Mesa's
// driver leaks memory inside it (and reloading it costs time) each time a
// device goes. The profile is chosen before the library is loaded, so that
// an ES context's client library is the one kept.
bool KeepGlLoaded(bool es, std::string* failure) {
    static bool kept = false;
    if (kept) {
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        *failure = std::string("cannot start SDL video: ") + SDL_GetError();
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK,
                        es ? SDL_GL_CONTEXT_PROFILE_ES : SDL_GL_CONTEXT_PROFILE_CORE);
    if (SDL_GL_LoadLibrary(nullptr) != 0) {
        *failure = std::string("cannot load OpenGL: ") + SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    kept = true;
    return true;
}

}  // namespace

std::unique_ptr<GlContext> GlContext::Create(GlWindow* window, std::string* failure) {
    std::unique_ptr<GlContext> context(new GlContext());
    const bool es = EsFromEnvironment();
    if (!KeepGlLoaded(es, failure)) {
        return nullptr;
    }
    if (window == nullptr) {
        window = CreateHiddenGlWindow();
        if (window == nullptr) {
            *failure = std::string("cannot make a window for OpenGL: ") + SDL_GetError();
            return nullptr;
        }
        context->ownsWindow_ = true;
    } else if ((SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL) == 0) {
        *failure = "the window was not created for OpenGL";
        return nullptr;
    }
    context->window_ = window;
    context->windowId_ = SDL_GetWindowID(window);

    const char* wanted = es ? "OpenGL ES 3.0" : "OpenGL 3.3 core profile";
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, es ? 0 : 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK,
                        es ? SDL_GL_CONTEXT_PROFILE_ES : SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
    context->context_ = SDL_GL_CreateContext(window);
    if (context->context_ == nullptr) {
        *failure = std::string(wanted) + " is not available: " + DescribeAvailableGl(window);
        return nullptr;
    }
    if (!context->ownsWindow_) {
        context->fallbackWindow_ = CreateHiddenGlWindow();
        if (context->fallbackWindow_ == nullptr) {
            *failure = std::string("cannot make a window for OpenGL: ") + SDL_GetError();
            return nullptr;
        }
    }
    if (epoxy_is_desktop_gl() == es || epoxy_gl_version() < (es ? 30 : 33)) {
        *failure = std::string(wanted) + " is not available: found OpenGL " + GlString(GL_VERSION) +
                   " on " + GlString(GL_RENDERER);
        return nullptr;
    }
    context->es_ = es;
    // Direct3D's clip space: z from 0 to 1. On ES only the extension that
    // WebGL 2 offers too is used.
    if (es) {
        context->clipControl_ =
            g_clipControlAllowed && epoxy_has_gl_extension("GL_EXT_clip_control");
        if (context->clipControl_) {
            glClipControlEXT(GL_LOWER_LEFT_EXT, GL_ZERO_TO_ONE_EXT);
        }
    } else {
        context->clipControl_ =
            g_clipControlAllowed &&
            (epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control"));
        if (context->clipControl_) {
            glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
        }
    }
    context->textureStorage_ =
        es || epoxy_gl_version() >= 42 || epoxy_has_gl_extension("GL_ARB_texture_storage");
    return context;
}

void GlContext::AllowClipControl(bool allowed) {
    g_clipControlAllowed = allowed;
}

GlContext::~GlContext() {
    if (context_ != nullptr) {
        SDL_GL_DeleteContext(context_);
    }
    if (ownsWindow_) {
        SDL_DestroyWindow(window_);
    }
    if (fallbackWindow_ != nullptr) {
        SDL_DestroyWindow(fallbackWindow_);
    }
}

bool GlContext::WindowAlive() const {
    // SDL never reuses a window id, so a destroyed window is no longer found.
    return !ownsWindow_ && SDL_GetWindowFromID(windowId_) == window_;
}

void GlContext::DrawableSize(int* width, int* height) const {
    SDL_GL_GetDrawableSize(window_, width, height);
}

void GlContext::Swap() {
    SDL_GL_SwapWindow(window_);
}

void GlContext::SetSwapInterval(int interval) {
    SDL_GL_SetSwapInterval(interval);
}

void GlContext::MakeCurrent() {
    if (SDL_GL_GetCurrentContext() == context_) {
        return;
    }
    SDL_Window* drawable = ownsWindow_ || WindowAlive() ? window_ : fallbackWindow_;
    overHiddenWindow_ = drawable == fallbackWindow_;
    SDL_GL_MakeCurrent(drawable, context_);
}
