// The WebGL 2 context on the page's canvas. The canvas is shown as the page
// composites it after each pass of the message loop, so a present swaps
// nothing; it only counts the frame for the page. Direct3D's clip-space z
// comes from EXT_clip_control where the browser has it, reached through
// JavaScript (WebGL has no C entry point for it).
#include "gl_context.h"

#include "gl_api.h"

#include <win32_standin.h>

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

namespace {

bool g_clipControlAllowed = true;

// Direct3D's clip space, z from 0 to 1, on the current context; false where
// the browser lacks the extension.
// clang-format off
EM_JS(bool, ClipDepthFromZero, (), {
    const extension = GLctx && GLctx.getExtension('EXT_clip_control');
    if (!extension) {
        return false;
    }
    extension.clipControlEXT(extension.LOWER_LEFT_EXT, extension.ZERO_TO_ONE_EXT);
    return true;
});
// clang-format on

}  // namespace

std::unique_ptr<GlContext> GlContext::Create(GlWindow* window, std::string* failure) {
    if (window == nullptr) {
        *failure = "a page draws only on its canvas";
        return nullptr;
    }
    std::unique_ptr<GlContext> context(new GlContext());
    context->window_ = window;
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    // The device draws into framebuffers of its own; the canvas only takes
    // the letterboxed copy.
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    // The canvas keeps its last frame, so the page (and its tests) can read
    // it between frames.
    attributes.preserveDrawingBuffer = EM_TRUE;
    attributes.powerPreference = EM_WEBGL_POWER_PREFERENCE_HIGH_PERFORMANCE;
    context->context_ = emscripten_webgl_create_context(window, &attributes);
    if (context->context_ <= 0) {
        *failure = "WebGL 2 is not available in this browser";
        return nullptr;
    }
    emscripten_webgl_make_context_current(context->context_);
    context->es_ = true;
    context->clipControl_ = g_clipControlAllowed && ClipDepthFromZero();
    context->textureStorage_ = true;
    return context;
}

void GlContext::AllowClipControl(bool allowed) {
    g_clipControlAllowed = allowed;
}

GlContext::~GlContext() {
    if (context_ > 0) {
        emscripten_webgl_destroy_context(context_);
    }
}

// The canvas outlives every window the page shows it as.
bool GlContext::WindowAlive() const {
    return window_ != nullptr;
}

void GlContext::DrawableSize(int* width, int* height) const {
    emscripten_get_canvas_element_size(window_, width, height);
}

void GlContext::Swap() {
    win32::PageFramePresented();
}

// The page's animation frames pace the presents whatever the interval.
void GlContext::SetSwapInterval(int) {}

void GlContext::MakeCurrent() {
    if (emscripten_webgl_get_current_context() == context_) {
        return;
    }
    emscripten_webgl_make_context_current(context_);
}
