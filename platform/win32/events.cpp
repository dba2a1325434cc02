// SDL's events become the window messages Win32 would queue: keys, the left
// mouse button and the close box. A pending Ctrl+C becomes a close too.
#include "standin.h"

#include <SDL2/SDL.h>

namespace {

HWND TargetOf(std::uint32_t sdlWindowId) {
    const HWND window = win32::detail::WindowOfSurface(SDL_GetWindowFromID(sdlWindowId));
    return window != nullptr ? window : win32::detail::FirstLiveWindow();
}

void TranslateKey(const SDL_KeyboardEvent& event) {
    const int virtualKey = win32::detail::VirtualKeyOfScancode(event.keysym.scancode);
    if (virtualKey == 0) {
        return;
    }
    const bool down = event.state == SDL_PRESSED;
    win32::detail::RecordKey(virtualKey, down);
    win32::detail::Post(TargetOf(event.windowID), down ? WM_KEYDOWN : WM_KEYUP,
                        static_cast<WPARAM>(win32::detail::MessageKeyOf(virtualKey)),
                        win32::detail::KeyMessageLParam(down, event.repeat != 0));
}

void TranslateMouseButton(const SDL_MouseButtonEvent& event) {
    if (event.button != SDL_BUTTON_LEFT) {
        return;
    }
    const bool down = event.state == SDL_PRESSED;
    win32::detail::Post(TargetOf(event.windowID), down ? WM_LBUTTONDOWN : WM_LBUTTONUP,
                        down ? MK_LBUTTON : 0, MAKELPARAM(event.x, event.y));
}

void TranslateWindowEvent(const SDL_WindowEvent& event) {
    if (event.event != SDL_WINDOWEVENT_CLOSE) {
        return;
    }
    const HWND window = win32::detail::WindowOfSurface(SDL_GetWindowFromID(event.windowID));
    if (window != nullptr) {
        win32::detail::Post(window, WM_CLOSE, 0, 0);
    }
}

// Ctrl+C closes the window the way its close box does; with no window left
// the loop is asked to quit.
void TranslateCloseRequest() {
    if (!win32::detail::TakeCloseRequest()) {
        return;
    }
    const HWND window = win32::detail::FirstLiveWindow();
    if (window != nullptr) {
        win32::detail::Post(window, WM_CLOSE, 0, 0);
    } else {
        PostQuitMessage(0);
    }
}

}  // namespace

namespace win32::detail {

void PumpEvents() {
    TranslateCloseRequest();
    if (!VideoStarted()) {
        return;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        switch (event.type) {
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                TranslateKey(event.key);
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                TranslateMouseButton(event.button);
                break;
            case SDL_WINDOWEVENT:
                TranslateWindowEvent(event.window);
                break;
            default:
                // SDL_QUIT among them: closing goes through WM_CLOSE.
                break;
        }
    }
}

// SDL is polled either way: the loop's passes keep their own pace.
void PollEvents() {
    PumpEvents();
}

}  // namespace win32::detail
