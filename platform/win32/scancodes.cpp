// SDL's scancodes as virtual-key codes.
#include "standin.h"

#include <SDL2/SDL.h>

namespace {

int ScancodeRangeKey(int scancode, int first, int last, int firstKey) {
    return scancode >= first && scancode <= last ? firstKey + (scancode - first) : 0;
}

}  // namespace

namespace win32::detail {

int VirtualKeyOfScancode(int scancode) {
    if (const int key = ScancodeRangeKey(scancode, SDL_SCANCODE_A, SDL_SCANCODE_Z, 'A')) {
        return key;
    }
    // SDL orders the digit row 1 to 9, then 0.
    if (const int key = ScancodeRangeKey(scancode, SDL_SCANCODE_1, SDL_SCANCODE_9, '1')) {
        return key;
    }
    if (const int key = ScancodeRangeKey(scancode, SDL_SCANCODE_F1, SDL_SCANCODE_F12, VK_F1)) {
        return key;
    }
    if (const int key =
            ScancodeRangeKey(scancode, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_9, VK_NUMPAD0 + 1)) {
        return key;
    }
    switch (scancode) {
        case SDL_SCANCODE_0:
            return '0';
        case SDL_SCANCODE_KP_0:
            return VK_NUMPAD0;
        case SDL_SCANCODE_ESCAPE:
            return VK_ESCAPE;
        case SDL_SCANCODE_RETURN:
        case SDL_SCANCODE_KP_ENTER:
            return VK_RETURN;
        case SDL_SCANCODE_SPACE:
            return VK_SPACE;
        case SDL_SCANCODE_TAB:
            return VK_TAB;
        case SDL_SCANCODE_BACKSPACE:
            return VK_BACK;
        case SDL_SCANCODE_PAUSE:
            return VK_PAUSE;
        case SDL_SCANCODE_CAPSLOCK:
            return VK_CAPITAL;
        case SDL_SCANCODE_LEFT:
            return VK_LEFT;
        case SDL_SCANCODE_UP:
            return VK_UP;
        case SDL_SCANCODE_RIGHT:
            return VK_RIGHT;
        case SDL_SCANCODE_DOWN:
            return VK_DOWN;
        case SDL_SCANCODE_PAGEUP:
            return VK_PRIOR;
        case SDL_SCANCODE_PAGEDOWN:
            return VK_NEXT;
        case SDL_SCANCODE_HOME:
            return VK_HOME;
        case SDL_SCANCODE_END:
            return VK_END;
        case SDL_SCANCODE_INSERT:
            return VK_INSERT;
        case SDL_SCANCODE_DELETE:
            return VK_DELETE;
        case SDL_SCANCODE_KP_MULTIPLY:
            return VK_MULTIPLY;
        case SDL_SCANCODE_KP_PLUS:
            return VK_ADD;
        case SDL_SCANCODE_KP_MINUS:
            return VK_SUBTRACT;
        case SDL_SCANCODE_KP_PERIOD:
            return VK_DECIMAL;
        case SDL_SCANCODE_KP_DIVIDE:
            return VK_DIVIDE;
        case SDL_SCANCODE_LSHIFT:
            return VK_LSHIFT;
        case SDL_SCANCODE_RSHIFT:
            return VK_RSHIFT;
        case SDL_SCANCODE_LCTRL:
            return VK_LCONTROL;
        case SDL_SCANCODE_RCTRL:
            return VK_RCONTROL;
        case SDL_SCANCODE_LALT:
            return VK_LMENU;
        case SDL_SCANCODE_RALT:
            return VK_RMENU;
        default:
            return 0;
    }
}

}  // namespace win32::detail
