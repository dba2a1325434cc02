// The window a device presents into, from a window handle of the Win32
// stand-in: an SDL window on the desktop (gl_window.cpp), the page's canvas
// in a browser (web_gl_window.cpp).
#pragma once

#include <windows.h>

#include "gl_context.h"

// Null for a handle that is not a live window, and where the stand-in's
// window table is not linked in.
GlWindow* GlWindowOf(HWND window);
// The window's client size in pixels.
void GlWindowSize(GlWindow* window, int* width, int* height);
