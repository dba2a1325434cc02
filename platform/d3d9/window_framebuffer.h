// Whether a window's own framebuffer can stand in for a device's back
// buffer, so that frames are drawn straight into it.
#pragma once

// Asked of the current context's window (its framebuffer 0): 8 bits of red,
// green and blue, 8 of alpha when `alpha` and none otherwise, a 24-bit depth
// and an 8-bit stencil buffer. Leaves framebuffer 0 bound. Desktop contexts
// only; false in a browser build.
bool WindowFramebufferFits(bool alpha);
