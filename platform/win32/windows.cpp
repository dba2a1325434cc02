// Window classes and windows: each window is an SDL window with OpenGL, found
// through a table by its handle. A handle carries its table slot and a
// generation, so a destroyed window's handle never names a later window.
#include <win32_standin.h>

#include "standin.h"

#include <SDL2/SDL.h>

#include <array>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct WindowClass {
    std::wstring name;
    HINSTANCE instance;
    WNDPROC procedure;
    ATOM atom;
};

struct Window {
    SDL_Window* sdl;
    WNDPROC procedure;
    std::wstring className;
    std::uint32_t generation;
    bool live;
};

constexpr std::size_t kMaxWindows = 16;
constexpr std::uintptr_t kSlotBits = 8;
constexpr std::uintptr_t kSlotMask = (std::uintptr_t{1} << kSlotBits) - 1;

std::vector<WindowClass> g_classes;
ATOM g_nextAtom = 0xC000;  // where Win32's string atoms begin
std::array<Window, kMaxWindows> g_windows{};
std::uint32_t g_nextGeneration = 1;

// A class name is either a string or an atom in the pointer's low word.
bool IsAtom(LPCWSTR name) {
    return reinterpret_cast<std::uintptr_t>(name) <= 0xFFFF;
}

// Class names compare without regard to case, as Win32's do.
WindowClass* FindClass(LPCWSTR name) {
    if (name == nullptr) {
        return nullptr;
    }
    for (WindowClass& windowClass : g_classes) {
        const bool same = IsAtom(name) ? windowClass.atom == reinterpret_cast<std::uintptr_t>(name)
                                       : wcscasecmp(windowClass.name.c_str(), name) == 0;
        if (same) {
            return &windowClass;
        }
    }
    return nullptr;
}

HWND HandleOf(std::size_t slot) {
    const std::uintptr_t value =
        (static_cast<std::uintptr_t>(g_windows[slot].generation) << kSlotBits) | (slot + 1);
    return reinterpret_cast<HWND>(value);
}

Window* LiveWindow(HWND handle) {
    const auto value = reinterpret_cast<std::uintptr_t>(handle);
    const std::uintptr_t slotPlusOne = value & kSlotMask;
    if (slotPlusOne == 0 || slotPlusOne > kMaxWindows) {
        return nullptr;
    }
    Window& window = g_windows[slotPlusOne - 1];
    if (!window.live || window.generation != (value >> kSlotBits)) {
        return nullptr;
    }
    return &window;
}

Window* FreeSlot(std::size_t* slot) {
    for (std::size_t i = 0; i < kMaxWindows; ++i) {
        if (!g_windows[i].live) {
            *slot = i;
            return &g_windows[i];
        }
    }
    return nullptr;
}

// How long a new window waits for its manager to say how large the frame
// is: a manager frames it within a few milliseconds of its showing; without
// one no frame comes.
constexpr Uint32 kFrameWaitMilliseconds = 100;

// False when the driver cannot tell (offscreen, say). SDL learns the frame
// from the manager's events, so they are pumped while waiting; they stay
// queued for the message loop.
bool FrameBorders(SDL_Window* sdl, int* top, int* left, int* bottom, int* right) {
    const Uint32 giveUp = SDL_GetTicks() + kFrameWaitMilliseconds;
    const bool shown = (SDL_GetWindowFlags(sdl) & SDL_WINDOW_SHOWN) != 0;
    while (SDL_GetWindowBordersSize(sdl, top, left, bottom, right) == 0) {
        if (*top != 0 || *left != 0 || *bottom != 0 || *right != 0 || !shown ||
            SDL_TICKS_PASSED(SDL_GetTicks(), giveUp)) {
            return true;
        }
        SDL_PumpEvents();
        SDL_Delay(2);
    }
    return false;
}

// Outer size and position include the frame; SDL places and sizes the
// client area, so the frame comes off where the driver reports it.
void FitFrameInto(SDL_Window* sdl, int x, int y, int width, int height) {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    if (!FrameBorders(sdl, &top, &left, &bottom, &right)) {
        return;
    }
    const int clientWidth = width - left - right;
    const int clientHeight = height - top - bottom;
    SDL_SetWindowSize(sdl, clientWidth > 0 ? clientWidth : 1, clientHeight > 0 ? clientHeight : 1);
    SDL_SetWindowPosition(sdl, x + left, y + top);
}

SDL_Window* CreateSdlWindow(LPCWSTR title, DWORD style, int x, int y, int width, int height) {
    const bool popup = (style & WS_POPUP) != 0;
    const bool framed = !popup && (style & WS_CAPTION) != 0;
    // High-DPI: the drawable gets the screen's pixels, and the present fills
    // them rather than the window's points.
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
    flags |= (style & WS_VISIBLE) != 0 ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    if (popup) {
        flags |= SDL_WINDOW_BORDERLESS;
    }
    if ((style & WS_THICKFRAME) != 0) {
        flags |= SDL_WINDOW_RESIZABLE;
    }
    const int clampedWidth = width > 0 ? width : 1;
    const int clampedHeight = height > 0 ? height : 1;
    SDL_Window* sdl = SDL_CreateWindow(win32::detail::Utf8(title).c_str(), x, y, clampedWidth,
                                       clampedHeight, flags);
    if (sdl != nullptr && framed) {
        FitFrameInto(sdl, x, y, clampedWidth, clampedHeight);
    }
    return sdl;
}

}  // namespace

namespace win32 {

void* SdlWindowOf(HWND window) {
    return detail::SdlWindowOfHandle(window);
}

}  // namespace win32

namespace win32::detail {

WNDPROC ProcedureOf(HWND window) {
    const Window* record = LiveWindow(window);
    return record != nullptr ? record->procedure : nullptr;
}

SDL_Window* SdlWindowOfHandle(HWND window) {
    const Window* record = LiveWindow(window);
    return record != nullptr ? record->sdl : nullptr;
}

HWND WindowOfSdlId(std::uint32_t sdlWindowId) {
    for (std::size_t i = 0; i < kMaxWindows; ++i) {
        if (g_windows[i].live && SDL_GetWindowID(g_windows[i].sdl) == sdlWindowId) {
            return HandleOf(i);
        }
    }
    return nullptr;
}

HWND FirstLiveWindow() {
    HWND oldest = nullptr;
    std::uint32_t oldestGeneration = 0;
    for (std::size_t i = 0; i < kMaxWindows; ++i) {
        if (g_windows[i].live &&
            (oldest == nullptr || g_windows[i].generation < oldestGeneration)) {
            oldest = HandleOf(i);
            oldestGeneration = g_windows[i].generation;
        }
    }
    return oldest;
}

}  // namespace win32::detail

extern "C" {

ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* wc) {
    if (wc == nullptr || wc->cbSize != sizeof(WNDCLASSEXW) || wc->lpfnWndProc == nullptr ||
        wc->lpszClassName == nullptr || IsAtom(wc->lpszClassName) || *wc->lpszClassName == L'\0' ||
        FindClass(wc->lpszClassName) != nullptr) {
        return 0;
    }
    const ATOM atom = g_nextAtom++;
    g_classes.push_back({wc->lpszClassName, wc->hInstance, wc->lpfnWndProc, atom});
    return atom;
}

// Fails, as on Win32, for an unknown class and while windows of it exist.
BOOL WINAPI UnregisterClassW(LPCWSTR className, HINSTANCE) {
    const WindowClass* windowClass = FindClass(className);
    if (windowClass == nullptr) {
        return FALSE;
    }
    for (const Window& window : g_windows) {
        if (window.live && window.className == windowClass->name) {
            return FALSE;
        }
    }
    g_classes.erase(g_classes.begin() + (windowClass - g_classes.data()));
    return TRUE;
}

HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                            int x, int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    const WindowClass* windowClass = FindClass(className);
    std::size_t slot = 0;
    Window* window = FreeSlot(&slot);
    if (windowClass == nullptr || window == nullptr || !win32::detail::EnsureVideo()) {
        return nullptr;
    }
    SDL_Window* sdl = CreateSdlWindow(windowName, style, x, y, width, height);
    if (sdl == nullptr) {
        return nullptr;
    }
    *window = {sdl, windowClass->procedure, windowClass->name, g_nextGeneration++, true};
    const HWND handle = HandleOf(slot);

    // As on Win32, the procedure sees WM_CREATE before CreateWindowExW
    // returns, and -1 from it cancels the creation.
    CREATESTRUCTW create = {
        param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName, className, exStyle};
    if (window->procedure(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    return handle;
}

BOOL WINAPI DestroyWindow(HWND handle) {
    Window* window = LiveWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    window->procedure(handle, WM_DESTROY, 0, 0);
    // The procedure may have destroyed the window itself.
    window = LiveWindow(handle);
    if (window == nullptr) {
        return TRUE;
    }
    window->live = false;
    SDL_DestroyWindow(window->sdl);
    window->sdl = nullptr;
    window->className.clear();
    return TRUE;
}

BOOL WINAPI IsWindow(HWND handle) {
    return LiveWindow(handle) != nullptr ? TRUE : FALSE;
}

// The result is whether the window was visible before.
BOOL WINAPI ShowWindow(HWND handle, int command) {
    const Window* window = LiveWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    const bool wasVisible = (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_SHOWN) != 0;
    if (command == SW_HIDE) {
        SDL_HideWindow(window->sdl);
    } else {
        SDL_ShowWindow(window->sdl);
    }
    return wasVisible ? TRUE : FALSE;
}

// There is nothing to paint outside the renderer's own presents.
BOOL WINAPI UpdateWindow(HWND handle) {
    return IsWindow(handle);
}

LRESULT WINAPI SendMessageW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC procedure = win32::detail::ProcedureOf(handle);
    return procedure != nullptr ? procedure(handle, message, wParam, lParam) : 0;
}

LRESULT WINAPI DispatchMessageW(const MSG* msg) {
    if (msg == nullptr) {
        return 0;
    }
    return SendMessageW(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI DefWindowProcW(HWND handle, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        DestroyWindow(handle);
    }
    return 0;
}

}  // extern "C"
