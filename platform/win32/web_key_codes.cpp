// The DOM's physical key codes (KeyboardEvent.code) as virtual-key codes.
#include "standin.h"

#include <cstring>

namespace {

struct NamedKey {
    const char* code;
    int virtualKey;
};

constexpr NamedKey kNamedKeys[] = {
    {"Escape", VK_ESCAPE},
    {"Enter", VK_RETURN},
    {"NumpadEnter", VK_RETURN},
    {"Space", VK_SPACE},
    {"Tab", VK_TAB},
    {"Backspace", VK_BACK},
    {"Pause", VK_PAUSE},
    {"CapsLock", VK_CAPITAL},
    {"ArrowLeft", VK_LEFT},
    {"ArrowUp", VK_UP},
    {"ArrowRight", VK_RIGHT},
    {"ArrowDown", VK_DOWN},
    {"PageUp", VK_PRIOR},
    {"PageDown", VK_NEXT},
    {"Home", VK_HOME},
    {"End", VK_END},
    {"Insert", VK_INSERT},
    {"Delete", VK_DELETE},
    {"NumpadMultiply", VK_MULTIPLY},
    {"NumpadAdd", VK_ADD},
    {"NumpadSubtract", VK_SUBTRACT},
    {"NumpadDecimal", VK_DECIMAL},
    {"NumpadDivide", VK_DIVIDE},
    {"ShiftLeft", VK_LSHIFT},
    {"ShiftRight", VK_RSHIFT},
    {"ControlLeft", VK_LCONTROL},
    {"ControlRight", VK_RCONTROL},
    {"AltLeft", VK_LMENU},
    {"AltRight", VK_RMENU},
};

bool StartsWith(const char* text, const char* prefix, std::size_t* rest) {
    const std::size_t length = std::strlen(prefix);
    *rest = length;
    return std::strncmp(text, prefix, length) == 0;
}

// "KeyA".."KeyZ", "Digit0".."Digit9", "Numpad0".."Numpad9", "F1".."F12".
int NumberedKey(const char* code) {
    std::size_t rest = 0;
    if (StartsWith(code, "Key", &rest) && code[rest] >= 'A' && code[rest] <= 'Z' &&
        code[rest + 1] == '\0') {
        return code[rest];
    }
    if (StartsWith(code, "Digit", &rest) && code[rest] >= '0' && code[rest] <= '9' &&
        code[rest + 1] == '\0') {
        return code[rest];
    }
    if (StartsWith(code, "Numpad", &rest) && code[rest] >= '0' && code[rest] <= '9' &&
        code[rest + 1] == '\0') {
        return VK_NUMPAD0 + (code[rest] - '0');
    }
    if (code[0] == 'F' && code[1] >= '1' && code[1] <= '9') {
        const int number = code[2] == '\0' ? code[1] - '0'
                           : code[3] == '\0' && code[1] == '1' && code[2] >= '0' && code[2] <= '2'
                               ? 10 + (code[2] - '0')
                               : 0;
        return number != 0 ? VK_F1 + number - 1 : 0;
    }
    return 0;
}

}  // namespace

namespace win32::detail {

int VirtualKeyOfCode(const char* code) {
    if (const int key = NumberedKey(code)) {
        return key;
    }
    for (const NamedKey& named : kNamedKeys) {
        if (std::strcmp(code, named.code) == 0) {
            return named.virtualKey;
        }
    }
    return 0;
}

}  // namespace win32::detail
