// The page's events become the window messages Win32 would queue: keys (the
// key state too), the left mouse button, and the page leaving fullscreen,
// which the browser does on Escape without passing the key on. The message
// loop's pump hands control to the page until its next animation frame:
// the browser composites the canvas and delivers events only then.
#include "standin.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

namespace {

constexpr const char* kCanvas = "#canvas";

bool g_fullscreen = false;

// clang-format off
EM_ASYNC_JS(void, AwaitAnimationFrame, (), {
    await new Promise((resolve) => requestAnimationFrame(() => resolve()));
});
// clang-format on

void Key(int virtualKey, bool down, bool repeat) {
    win32::detail::RecordKey(virtualKey, down);
    win32::detail::Post(win32::detail::FirstLiveWindow(), down ? WM_KEYDOWN : WM_KEYUP,
                        static_cast<WPARAM>(win32::detail::MessageKeyOf(virtualKey)),
                        win32::detail::KeyMessageLParam(down, repeat));
}

EM_BOOL KeyEvent(int type, const EmscriptenKeyboardEvent* event, void*) {
    if (win32::detail::MessageBoxShowing()) {
        return EM_FALSE;
    }
    const int virtualKey = win32::detail::VirtualKeyOfCode(event->code);
    if (virtualKey == 0) {
        return EM_FALSE;
    }
    Key(virtualKey, type == EMSCRIPTEN_EVENT_KEYDOWN, event->repeat != 0);
    // The page's own handling (scrolling on arrows and space) stays off.
    return EM_TRUE;
}

EM_BOOL MouseEvent(int type, const EmscriptenMouseEvent* event, void*) {
    if (event->button != 0) {
        return EM_FALSE;
    }
    const bool down = type == EMSCRIPTEN_EVENT_MOUSEDOWN;
    const int x = static_cast<int>(event->targetX);
    const int y = static_cast<int>(event->targetY);
    win32::detail::Post(win32::detail::FirstLiveWindow(), down ? WM_LBUTTONDOWN : WM_LBUTTONUP,
                        down ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    return EM_FALSE;
}

// Leaving fullscreen is the Escape the browser kept for itself.
EM_BOOL FullscreenChange(int, const EmscriptenFullscreenChangeEvent* event, void*) {
    const bool wasFullscreen = g_fullscreen;
    g_fullscreen = event->isFullscreen != 0;
    if (wasFullscreen && !g_fullscreen && !win32::detail::MessageBoxShowing()) {
        Key(VK_ESCAPE, true, false);
        Key(VK_ESCAPE, false, false);
    }
    return EM_FALSE;
}

void SetCallbacks(bool on) {
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    em_key_callback_func key = on ? KeyEvent : nullptr;
    em_mouse_callback_func mouse = on ? MouseEvent : nullptr;
    emscripten_set_keydown_callback(window, nullptr, EM_FALSE, key);
    emscripten_set_keyup_callback(window, nullptr, EM_FALSE, key);
    emscripten_set_mousedown_callback(kCanvas, nullptr, EM_FALSE, mouse);
    emscripten_set_mouseup_callback(kCanvas, nullptr, EM_FALSE, mouse);
    emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE,
                                             on ? FullscreenChange : nullptr);
}

}  // namespace

namespace win32::detail {

void ListenToPage() {
    EmscriptenFullscreenChangeEvent state{};
    g_fullscreen = emscripten_get_fullscreen_status(&state) == EMSCRIPTEN_RESULT_SUCCESS &&
                   state.isFullscreen != 0;
    SetCallbacks(true);
}

void StopListeningToPage() {
    SetCallbacks(false);
}

void PumpEvents() {
    AwaitAnimationFrame();
}

// Events arrive only while the pump waits; there is nothing to take here.
void PollEvents() {}

}  // namespace win32::detail
