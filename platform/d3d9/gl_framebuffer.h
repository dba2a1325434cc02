// An offscreen framebuffer: a colour renderbuffer and, optionally, a depth
// and stencil one.
#pragma once

#include "gl_api.h"

struct GlFramebuffer {
    // False (and nothing left behind) when the framebuffer is incomplete.
    bool Create(GLsizei width, GLsizei height, GLenum colourFormat, bool depth);
    void Destroy();

    GLuint framebuffer = 0;
    GLuint colour = 0;
    GLuint depthStencil = 0;
};
