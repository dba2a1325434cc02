// Window classes and windows: each window is a surface (an SDL window with
// OpenGL on the desktop, the page's canvas in a browser), found through a
// table by its handle. A handle carries its table slot and a generation, so
// a destroyed window's handle never names a later window.
#include "standin.h"

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
    void* surface;
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

}  // namespace

namespace win32::detail {

WNDPROC ProcedureOf(HWND window) {
    const Window* record = LiveWindow(window);
    return record != nullptr ? record->procedure : nullptr;
}

void* SurfaceOfWindow(HWND window) {
    const Window* record = LiveWindow(window);
    return record != nullptr ? record->surface : nullptr;
}

HWND WindowOfSurface(const void* surface) {
    for (std::size_t i = 0; i < kMaxWindows; ++i) {
        if (g_windows[i].live && surface != nullptr && g_windows[i].surface == surface) {
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
    if (windowClass == nullptr || window == nullptr) {
        return nullptr;
    }
    void* surface = win32::detail::CreateSurface(windowName, style, x, y, width, height);
    if (surface == nullptr) {
        return nullptr;
    }
    *window = {surface, windowClass->procedure, windowClass->name, g_nextGeneration++, true};
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
    win32::detail::DestroySurface(window->surface);
    window->surface = nullptr;
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
    const bool wasVisible = win32::detail::ShowSurface(window->surface, command != SW_HIDE);
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
