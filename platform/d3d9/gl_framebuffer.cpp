// Framebuffer creation and release.
#include "gl_framebuffer.h"

bool GlFramebuffer::Create(GLsizei width, GLsizei height, GLenum colourFormat, bool depth) {
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, colourFormat, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    if (depth) {
        glGenRenderbuffers(1, &depthStencil);
        glBindRenderbuffer(GL_RENDERBUFFER, depthStencil);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                  depthStencil);
    }
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        Destroy();
        return false;
    }
    return true;
}

void GlFramebuffer::Destroy() {
    if (framebuffer != 0) {
        glDeleteFramebuffers(1, &framebuffer);
    }
    if (colour != 0) {
        glDeleteRenderbuffers(1, &colour);
    }
    if (depthStencil != 0) {
        glDeleteRenderbuffers(1, &depthStencil);
    }
    framebuffer = colour = depthStencil = 0;
}
