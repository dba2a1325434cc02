// Device windows in a browser: the page's canvas behind the Win32 stand-in's
// window.
#include "gl_window.h"

#include <win32_standin.h>

#include <emscripten/html5.h>

GlWindow* GlWindowOf(HWND window) {
    return win32::CanvasOf(window);
}

void GlWindowSize(GlWindow* window, int* width, int* height) {
    emscripten_get_canvas_element_size(window, width, height);
}
