// The thread's message queue: a fixed ring of posted messages (nothing is
// allocated per frame) and WM_QUIT as a flag, which Win32 hands out only when
// no other message is waiting.
#include "standin.h"

#include <array>

namespace {

constexpr std::size_t kCapacity = 256;

std::array<MSG, kCapacity> g_ring{};
std::size_t g_head = 0;   // oldest message
std::size_t g_count = 0;  // messages waiting
bool g_quitPosted = false;
int g_quitCode = 0;

MSG& At(std::size_t position) {
    return g_ring[(g_head + position) % kCapacity];
}

bool Matches(const MSG& msg, HWND window, UINT filterMin, UINT filterMax) {
    if (window != nullptr && msg.hwnd != window) {
        return false;
    }
    if (filterMin == 0 && filterMax == 0) {
        return true;
    }
    return msg.message >= filterMin && msg.message <= filterMax;
}

// Taking the oldest message moves the head; one from the middle (a filtered
// peek) closes its gap by moving the later ones down.
void RemoveAt(std::size_t position) {
    if (position == 0) {
        g_head = (g_head + 1) % kCapacity;
    } else {
        for (std::size_t i = position; i + 1 < g_count; ++i) {
            At(i) = At(i + 1);
        }
    }
    --g_count;
}

}  // namespace

namespace win32::detail {

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_count == kCapacity) {
        return false;
    }
    At(g_count) = {window, message, wParam, lParam, GetTickCount(), {0, 0}};
    ++g_count;
    return true;
}

}  // namespace win32::detail

extern "C" {

BOOL WINAPI PeekMessageW(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (msg == nullptr) {
        return FALSE;
    }
    win32::detail::PumpEvents();
    const bool remove = (removeFlags & PM_REMOVE) != 0;
    for (std::size_t i = 0; i < g_count; ++i) {
        if (Matches(At(i), window, filterMin, filterMax)) {
            *msg = At(i);
            if (remove) {
                RemoveAt(i);
            }
            return TRUE;
        }
    }
    if (g_quitPosted) {
        *msg = {nullptr, WM_QUIT, static_cast<WPARAM>(g_quitCode), 0, GetTickCount(), {0, 0}};
        if (remove) {
            g_quitPosted = false;
        }
        return TRUE;
    }
    return FALSE;
}

// A null window posts to the thread itself; a dead window is refused.
BOOL WINAPI PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window != nullptr && !IsWindow(window)) {
        return FALSE;
    }
    return win32::detail::Post(window, message, wParam, lParam) ? TRUE : FALSE;
}

void WINAPI PostQuitMessage(int exitCode) {
    g_quitPosted = true;
    g_quitCode = exitCode;
}

// Character messages are not used: keys arrive as WM_KEYDOWN and WM_KEYUP.
BOOL WINAPI TranslateMessage(const MSG*) {
    return TRUE;
}

}  // extern "C"
