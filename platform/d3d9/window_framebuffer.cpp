// The window framebuffer's formats, asked of the desktop driver.
#include "window_framebuffer.h"

#include "gl_api.h"

#ifndef __EMSCRIPTEN__

namespace {

// The bits of one of the window's buffers, 0 where it has none.
GLint BitsOf(GLenum attachment, GLenum sizeName) {
    GLint type = GL_NONE;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &type);
    if (type == GL_NONE) {
        return 0;
    }
    GLint bits = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment, sizeName, &bits);
    return bits;
}

}  // namespace

bool WindowFramebufferFits(bool alpha) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    const bool fits =
        BitsOf(GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_RED_SIZE) == 8 &&
        BitsOf(GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_GREEN_SIZE) == 8 &&
        BitsOf(GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_BLUE_SIZE) == 8 &&
        BitsOf(GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_ALPHA_SIZE) == (alpha ? 8 : 0) &&
        BitsOf(GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE) == 24 &&
        BitsOf(GL_STENCIL, GL_FRAMEBUFFER_ATTACHMENT_STENCIL_SIZE) == 8;
    // A window without one of the buffers may have set an error: the
    // device's later checks must not see it. Each call takes one flag; a
    // lost context would repeat its own for ever.
    for (int flag = 0; flag < 8 && glGetError() != GL_NO_ERROR; ++flag) {
    }
    return fits;
}

#else

// A canvas is presented by the browser, never drawn into as a back buffer.
bool WindowFramebufferFits(bool) {
    return false;
}

#endif
