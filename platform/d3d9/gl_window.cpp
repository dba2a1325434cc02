// Device windows on the desktop: the Win32 stand-in's SDL windows.
#include "gl_window.h"

#include <win32_standin.h>

// The Win32 stand-in's window table. Referenced weakly, so the Direct3D
// stand-in also links into programs without it; there it draws offscreen
// only and refuses window handles.
namespace win32 {
__attribute__((weak)) void* SdlWindowOf(HWND window);
}

GlWindow* GlWindowOf(HWND window) {
    if (&win32::SdlWindowOf == nullptr) {
        return nullptr;
    }
    return static_cast<SDL_Window*>(win32::SdlWindowOf(window));
}

void GlWindowSize(GlWindow* window, int* width, int* height) {
    SDL_GetWindowSize(window, width, height);
}
