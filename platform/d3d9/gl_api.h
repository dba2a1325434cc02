// The OpenGL entry points the backend draws with: libepoxy's dispatch on the
// desktop (OpenGL 3.3 core, or OpenGL ES 3.0), Emscripten's WebGL 2 binding
// in a browser.
#pragma once

#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>
#include <GLES2/gl2ext.h>

// EXT_clip_control, which WebGL 2 offers only to JavaScript: the web context
// (web_gl_context.cpp) defines this entry point over it.
#ifndef GL_LOWER_LEFT
#define GL_LOWER_LEFT 0x8CA1
#endif
#ifndef GL_ZERO_TO_ONE
#define GL_ZERO_TO_ONE 0x935F
#endif
extern "C" void glClipControl(GLenum origin, GLenum depth);
#else
#include <epoxy/gl.h>
#endif
