// The page's canvas as the one window surface: it fills the page (or the
// screen, once the page is fullscreen) at the display's pixels and follows
// the page's size; the device letterboxes its back buffer into it.
#include <win32_standin.h>

#include "standin.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

namespace {

constexpr const char* kCanvas = "#canvas";

struct Canvas {
    bool inUse;
    bool visible;
};

Canvas g_canvas{};

// clang-format off
EM_JS(void, FitCanvasToPage, (), {
    const canvas = document.querySelector('#canvas');
    const ratio = window.devicePixelRatio || 1;
    const width = Math.max(1, Math.round(window.innerWidth * ratio));
    const height = Math.max(1, Math.round(window.innerHeight * ratio));
    if (canvas.width !== width || canvas.height !== height) {
        canvas.width = width;
        canvas.height = height;
    }
});

EM_JS(void, SetCanvasVisible, (bool visible), {
    document.querySelector('#canvas').style.visibility = visible ? 'visible' : 'hidden';
});
// clang-format on

EM_BOOL Resized(int, const EmscriptenUiEvent*, void*) {
    FitCanvasToPage();
    return EM_FALSE;
}

}  // namespace

namespace win32 {

const char* CanvasOf(HWND window) {
    return detail::SurfaceOfWindow(window) != nullptr ? kCanvas : nullptr;
}

}  // namespace win32

namespace win32::detail {

// The page has one canvas, so one window at a time. The title is the
// page's own.
void* CreateSurface(LPCWSTR, DWORD style, int, int, int, int) {
    if (g_canvas.inUse) {
        return nullptr;
    }
    g_canvas.inUse = true;
    FitCanvasToPage();
    emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, Resized);
    ListenToPage();
    ShowSurface(&g_canvas, (style & WS_VISIBLE) != 0);
    return &g_canvas;
}

void DestroySurface(void* surface) {
    Canvas* canvas = static_cast<Canvas*>(surface);
    emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, nullptr);
    StopListeningToPage();
    canvas->inUse = false;
}

bool ShowSurface(void* surface, bool show) {
    Canvas* canvas = static_cast<Canvas*>(surface);
    const bool wasVisible = canvas->visible;
    canvas->visible = show;
    SetCanvasVisible(show);
    return wasVisible;
}

}  // namespace win32::detail
