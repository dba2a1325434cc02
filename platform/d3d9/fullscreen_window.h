// Turning a device's window into a fullscreen one that really covers its
// display.
#pragma once

#include "gl_context.h"

// Moves and sizes the window over the whole display it is on, then asks for
// desktop fullscreen. Without a window manager an X server ignores the
// fullscreen request while SDL reports the display's size regardless; the
// window would keep its old size and the letterbox, computed for the
// display, would land scaled and cut off in it. Placed by hand first, the
// window covers the display with or without a window manager. In a browser
// the page went fullscreen on the prompt's click already, which a browser
// allows only inside a click (web_fullscreen_window.cpp).
void CoverDisplay(GlWindow* window);
