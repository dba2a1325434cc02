// The OpenGL entry points the backend draws with: libepoxy's dispatch on the
// desktop (OpenGL 3.3 core, or OpenGL ES 3.0), Emscripten's WebGL 2 binding
// in a browser.
#pragma once

#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>
#include <GLES2/gl2ext.h>
#else
#include <epoxy/gl.h>
#endif
