// What reads the screen in a browser: the screen's size, the cursor over the
// canvas, and the page as the display.
#include <win32_standin.h>

#include "standin.h"

#include <emscripten/emscripten.h>

namespace {

// Win32 shows the cursor while this count is 0 or more.
int g_cursorCount = 0;

// clang-format off
EM_JS(int, ScreenWidth, (),
      { return Math.round(window.screen.width * (window.devicePixelRatio || 1)); });
EM_JS(int, ScreenHeight, (),
      { return Math.round(window.screen.height * (window.devicePixelRatio || 1)); });
EM_JS(void, SetCanvasCursor, (bool shown),
      { document.querySelector('#canvas').style.cursor = shown ? 'auto' : 'none'; });
// clang-format on

}  // namespace

namespace win32 {

// The page is always there to show the canvas and the boxes on.
bool HasDisplay() {
    return true;
}

}  // namespace win32

extern "C" {

int WINAPI GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN:
            return ScreenWidth();
        case SM_CYSCREEN:
            return ScreenHeight();
        default:
            return 0;
    }
}

int WINAPI ShowCursor(BOOL show) {
    g_cursorCount += show ? 1 : -1;
    SetCanvasCursor(g_cursorCount >= 0);
    return g_cursorCount;
}

}  // extern "C"
